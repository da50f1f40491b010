// Another workstation replaces the client being saved at the moment the dialog writes it.
#include "customers/clientdlg.h"
#include "data/sqlite/sqliteconnection.h"
#include "kit/messages.h"
#include "support/tempdata.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Runs `sql` on the file from a connection of its own when the watched connection starts its
// first UPDATE: between the dialog's read of the row and its write.
struct OtherWorkstation
{
    const TempDataFile* file;
    QString sql;
    bool done = false;

    static int OnStatement(unsigned, void* context, void*, void* text)
    {
        auto* self = static_cast<OtherWorkstation*>(context);
        if (!self->done && QByteArray(static_cast<const char*>(text)).startsWith("UPDATE")) {
            self->done = true;
            self->file->Exec(self->sql);
        }
        return 0;
    }
};

TEST(ClientSaveRace, AClientReplacedWhileSavingIsNotOverwrittenAndTheDialogSaysSo)
{
    TempDataFile file;
    file.Exec(u"INSERT INTO client (no, name, number) VALUES (1, '甲公司', 'A01'), "
              "(2, '乙公司', 'B02')"_s);
    const QString rowid = file.QueryValue(u"SELECT rowid FROM client WHERE no = 2"_s);
    auto db = file.Open();
    MessageRecorder messages;
    OtherWorkstation other{&file, u"DELETE FROM client WHERE no = 2; INSERT INTO client (no, name, "
                                  "number) VALUES (8, '丙公司', 'C08')"_s};
    sqlite3_trace_v2(vantrel::sqlite::HandleOf(db->GetActiveConnection().get()), SQLITE_TRACE_STMT,
                     &OtherWorkstation::OnStatement, &other);

    CClientDlg dialog(db.get(), nullptr);
    dialog.m_bModify = 1;
    dialog.m_nNo = 2;
    dialog.SetFieldTexts({{u"name"_s, u"乙公司"_s}, {u"number"_s, u"B02"_s}});
    dialog.show();
    auto* remark = qobject_cast<QPlainTextEdit*>(dialog.Control(u"remark"_s));
    ASSERT_NE(remark, nullptr);
    remark->setPlainText(u"乙公司的备注"_s);
    auto* ok = dialog.findChild<QPushButton*>(u"IDOK"_s);
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);

    ASSERT_TRUE(other.done);
    EXPECT_EQ(file.QueryValue(u"SELECT rowid FROM client WHERE no = 8"_s), rowid);
    EXPECT_EQ(messages.Texts(), QStringList({u"此记录已被其他用户修改，请关闭后重新打开。"_s}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(file.QueryValue(u"SELECT name || number || ifnull(remark, '') FROM client "
                              "WHERE no = 8"_s),
              u"丙公司C08"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM client WHERE remark IS NOT NULL"_s), u"0"_s);

    // Saved again, the client is gone, and the dialog says that instead.
    messages.Clear();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(messages.Texts(), QStringList({u"找不到此数据！"_s}));
    sqlite3_trace_v2(vantrel::sqlite::HandleOf(db->GetActiveConnection().get()), 0, nullptr,
                     nullptr);
}

} // namespace

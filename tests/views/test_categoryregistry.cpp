#include "kit/commandids.h"
#include "support/recordviews.h"
#include "views/categoryregistry.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

constexpr RecordDialog kSampleDialog = "sample";
constexpr int kSamples = 40;
constexpr FieldSpec kSampleFields[] = {{"content", FieldKind::Text}};

// A category no feature has: one registered row and one dialog are all the lists need.
class NewCategoryTest : public RecordViewsTest
{
protected:
    NewCategoryTest()
    {
        m_file.Exec(u"INSERT INTO notice (no, content) VALUES (3, '样品A')"_s);
        m_doc.Dialogs().Register(kSampleDialog, [this](const CRecordRequest& request, QWidget*) {
            m_requests.push_back(request);
        });
    }

    void RegisterSamples(const char16_t* caption)
    {
        m_doc.Categories().Register({.code = kSamples,
                                     .caption = caption,
                                     .dialog = kSampleDialog,
                                     .manageCommand = ID_MANAGE_NOTE,
                                     .recordSql = u"SELECT * FROM notice WHERE [no] = %1",
                                     .readFailure = u"样品表无法打开！",
                                     .fields = kSampleFields});
    }

    void Activate()
    {
        QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(m_main, &focus);
    }
};

TEST_P(NewCategoryTest, ItsRowDecidesCaptionDialogRecordAndPermission)
{
    RegisterSamples(u"样品");
    FillMain(kSamples, u"SELECT * FROM notice"_s, {u"内容"_s, QString()},
             {{u"样品A"_s, u"3"_s}, {u"已删"_s, u"99"_s}});
    Activate();
    EXPECT_EQ(m_doc.InfoText(), u"样品"_s);

    DoubleClick(*m_main, 0);
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_EQ(m_requests[0].dialog, kSampleDialog);
    EXPECT_TRUE(m_requests[0].modify);
    EXPECT_EQ(m_requests[0].no, 3);
    EXPECT_EQ(m_requests[0].fields, (QVariantMap{{u"content"_s, u"样品A"_s}}));
    DoubleClick(*m_main, 1);
    EXPECT_EQ(m_messages.LastText(), u"样品表无法打开！"_s);
    EXPECT_EQ(m_requests.size(), 1u);

    // Its management command guards the list's changes.
    m_doc.SetPermissionTest([](int command) { return command != ID_MANAGE_NOTE; });
    RightClick(*m_main, 0, u"ID_RECORD_ADD"_s);
    EXPECT_EQ(m_messages.LastText(), u"您还没有这个权限！"_s);
    EXPECT_EQ(m_requests.size(), 1u);

    // Registered again, the new row replaces the old one.
    RegisterSamples(u"样品二");
    Activate();
    EXPECT_EQ(m_doc.InfoText(), u"样品二"_s);
}

INSTANTIATE_TEST_SUITE_P(, NewCategoryTest, EachBackend(), BackendName);

} // namespace

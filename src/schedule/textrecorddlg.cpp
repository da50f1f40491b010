#include "schedule/textrecorddlg.h"

#include "data/adorecordset.h"
#include "kit/dialogbuttons.h"
#include "views/noteview.h"
#include "views/vantrelview.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr RecordSaveTexts kSaveTexts{
    u"表不存在，无法增加记录！", nullptr,           nullptr,
    u"表不存在，无法修改记录！", u"找不到此数据！", u"数据无法保存！",
};

} // namespace

CTextRecordDlg::CTextRecordDlg(CADODatabase* database, const QString& table,
                               const ListLayout& layout, CVantrelView* list, CNoteView* text,
                               QWidget* parent)
    : CRecordDlg(database, table, std::nullopt, kSaveTexts, parent), m_layout(layout), m_list(list),
      m_text(text)
{
}

QWidget* CTextRecordDlg::Control(const QString& name) const
{
    return findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

QHBoxLayout* CTextRecordDlg::NewCloseButtonRow(const QString& okText)
{
    OkButton()->setText(okText);
    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton());
    buttons->addWidget(close);
    return buttons;
}

bool CTextRecordDlg::SaveRecord(const QVariantMap& values)
{
    CADORecordset recordset(m_db);
    int number = m_nNo;
    if (!BeginSave(recordset, number))
        return false;
    bool written = true;
    for (auto it = values.cbegin(); written && it != values.cend(); ++it)
        written = it->typeId() == QMetaType::QDateTime
                      ? recordset.SetFieldDate(it.key(), it->toDateTime())
                      : recordset.SetFieldText(it.key(), it->toString());
    if (!EndSave(recordset, written))
        return false;
    if (m_bModify && m_nItem != -1) {
        if (m_list)
            RewriteListRow(m_list->List(), m_layout, values);
        if (m_text)
            m_text->SetText(values.value(u"content"_s).toString());
    }
    Saved();
    return true;
}

#include "trade/finddlg.h"

#include "kit/dialogbuttons.h"
#include "kit/focusdefaults.h"
#include "kit/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct GroupText
{
    FindMode mode;
    const char16_t* caption;
    const char16_t* label;
    const char16_t* emptyMessage;
    const char16_t* editName;
    const char16_t* buttonName;
};

constexpr GroupText kGroups[] = {
    {FindMode::kContactName, u"按联系人姓名查找", u"姓名中含有文字：", u"您还没有填写联系人姓名！",
     u"IDC_NAME", u"IDC_FINDNAME"},
    {FindMode::kContactPhone, u"按电话/手机/传真号码查找", u"号码中含有文字：",
     u"您还没有填写电话号码！", u"IDC_PHONE", u"IDC_FINDPHONE"},
    {FindMode::kClientNumber, u"按客户编号查找", u"编号中含有文字：", u"您还没有填写客户编号！",
     u"IDC_CLIENTNUMBER", u"IDC_FINDCLIENT"},
    {FindMode::kContactNumber, u"按联系人编号查找", u"编号中含有文字：",
     u"您还没有填写联系人编号！", u"IDC_LINKMANNUMBER", u"IDC_FINDLINKMAN"},
};

} // namespace

CFindDlg::CFindDlg(CVantrelDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setObjectName(u"IDD_FIND"_s);
    setWindowTitle(u"查找"_s);
    auto* defaults = new CFocusDefaults(this);
    auto* layout = new QVBoxLayout(this);
    for (const GroupText& text : kGroups) {
        auto* box = new QGroupBox(QString::fromUtf16(text.caption), this);
        Group group;
        group.edit = new QLineEdit(box);
        group.edit->setObjectName(QString::fromUtf16(text.editName));
        group.button = NewDialogButton(u"查找"_s, QString::fromUtf16(text.buttonName), box);
        group.emptyMessage = QString::fromUtf16(text.emptyMessage);
        auto* row = new QHBoxLayout(box);
        row->addWidget(new QLabel(QString::fromUtf16(text.label), box));
        row->addWidget(group.edit, 1);
        row->addWidget(group.button);
        layout->addWidget(box);
        // Enter in any of the edits, the contact number's too, runs the search beside it.
        defaults->Add(group.edit, group.button);
        const FindMode mode = text.mode;
        connect(group.button, &QPushButton::clicked, this, [this, mode] { OnFind(mode); });
        m_groups[mode] = group;
    }
    Edit(FindMode::kClientNumber)->setMaxLength(kNumberMaxLength);

    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    setMinimumWidth(420);
    Edit(FindMode::kContactName)->setFocus();
}

void CFindDlg::OnFind(FindMode mode)
{
    const Group& group = m_groups.at(mode);
    const QString text = group.edit->text();
    if (text.isEmpty()) {
        Warn(this, group.emptyMessage);
        group.edit->setFocus();
        return;
    }
    ShowFindResult(m_doc, mode, text);
    accept();
}

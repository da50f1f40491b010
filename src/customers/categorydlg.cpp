#include "customers/categorydlg.h"

#include "customers/attributekinds.h"
#include "customers/dictionarylist.h"
#include "customers/dictionaryvalues.h"
#include "data/adorecordset.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CCategoryDlg::CCategoryDlg(CADODatabase* database, QWidget* parent)
    : QDialog(parent), m_db(database), m_kinds(NewReportList(u"分类属性"_s, 150, this)),
      m_values(NewReportList(u"属性值"_s, 280, this)), m_valueEdit(new QLineEdit(this))
{
    setObjectName(u"IDD_CATEGORY"_s);
    setWindowTitle(u"分类属性默认资料管理"_s);

    m_kinds->setObjectName(u"IDC_KINDLIST"_s);
    m_kinds->setMinimumWidth(170);
    m_kinds->setMaximumWidth(200);
    for (const AttributeKind& kind : AttributeKinds())
        AppendReportRow(m_kinds, KindLabel(kind), KindIcon(false));
    m_values->setObjectName(u"IDC_VALUELIST"_s);
    m_values->setMinimumSize(300, 300);
    m_valueEdit->setObjectName(u"IDC_VALUE"_s);

    auto* add = NewDialogButton(u"添加"_s, u"IDC_ADD"_s, this);
    auto* modify = NewDialogButton(u"修改"_s, u"IDC_MODIFY"_s, this);
    auto* remove = NewDialogButton(u"删除"_s, u"IDC_DELETE"_s, this);
    auto* close = NewDialogButton(u"关闭"_s, u"IDOK"_s, this);

    auto* valueLine = new QHBoxLayout;
    auto* valueLabel = new QLabel(u"属性值："_s, this);
    valueLabel->setBuddy(m_valueEdit);
    valueLine->addWidget(valueLabel);
    valueLine->addWidget(m_valueEdit, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(modify);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* right = new QVBoxLayout;
    right->addWidget(m_values, 1);
    right->addLayout(valueLine);
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_kinds);
    lists->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    setTabOrder(m_kinds, m_values);
    setTabOrder(m_values, m_valueEdit);
    setTabOrder(m_valueEdit, add);
    setTabOrder(add, modify);
    setTabOrder(modify, remove);
    setTabOrder(remove, close);

    connect(m_kinds, &QTableWidget::cellClicked, this, [this](int row, int) { SelectKind(row); });
    connect(m_values, &QTableWidget::cellClicked, this, [this](int row, int) { SelectValue(row); });
    connect(add, &QPushButton::clicked, this, &CCategoryDlg::OnAdd);
    connect(modify, &QPushButton::clicked, this, &CCategoryDlg::OnModify);
    connect(remove, &QPushButton::clicked, this, &CCategoryDlg::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void CCategoryDlg::SelectKind(int kind)
{
    m_nKind = (kind >= 0 && kind < kAttributeKindCount) ? kind : -1;
    MarkChosenKind(m_kinds, m_nKind);
    if (m_nKind < 0)
        return;
    if (m_kinds->currentRow() != m_nKind)
        m_kinds->selectRow(m_nKind);
    FillValues();
}

void CCategoryDlg::SelectValue(int row)
{
    if (row < 0 || row >= m_values->rowCount())
        return;
    if (SelectedValueRow() != row)
        m_values->selectRow(row);
    m_valueEdit->setText(ValueAt(row));
}

void CCategoryDlg::FillValues()
{
    m_values->setRowCount(0);
    if (const auto values = DictionaryValues(m_db, DictionaryStatement(AttributeKinds()[m_nKind])))
        for (const QString& value : *values)
            AppendValue(value);
}

void CCategoryDlg::AppendValue(const QString& value)
{
    AppendReportRow(m_values, value);
}

int CCategoryDlg::SelectedValueRow() const
{
    const QList<QTableWidgetItem*> items = m_values->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

QString CCategoryDlg::ValueAt(int row) const
{
    const QTableWidgetItem* item = m_values->item(row, 0);
    return item ? item->text() : QString();
}

bool CCategoryDlg::KindChosen()
{
    if (m_nKind < 0)
        Warn(this, u"请先从左侧列表中选择一个属性！"_s);
    return m_nKind >= 0;
}

bool CCategoryDlg::OpenNewValue(CADORecordset& recordset, const QString& value,
                                const QString& taken)
{
    if (!recordset.Open(DictionaryValueStatement(AttributeKinds()[m_nKind], value)))
        return false;
    if (recordset.GetRecordCount() > 0) {
        Warn(this, taken);
        return false;
    }
    return true;
}

bool CCategoryDlg::OpenListedValue(CADORecordset& recordset, int row, const QString& missing)
{
    if (!recordset.Open(DictionaryValueStatement(AttributeKinds()[m_nKind], ValueAt(row))))
        return false;
    if (recordset.GetRecordCount() < 1) {
        Warn(this, missing);
        return false;
    }
    recordset.MoveFirst();
    return true;
}

void CCategoryDlg::OnAdd()
{
    if (!KindChosen())
        return;
    const QString value = m_valueEdit->text();
    if (value.isEmpty()) {
        Warn(this, u"您还没有填写要增加的属性值！"_s);
        return;
    }
    CADORecordset recordset(m_db);
    if (!OpenNewValue(recordset, value, u"此值已经存在，请不要重复添加！"_s))
        return;
    if (!recordset.AddNew() || !recordset.SetFieldText(u"name"_s, value) || !recordset.Update()) {
        recordset.CancelUpdate();
        return;
    }
    AppendValue(value);
    Inform(this, u"添加成功！"_s);
}

void CCategoryDlg::OnModify()
{
    if (!KindChosen())
        return;
    const int row = SelectedValueRow();
    if (row < 0) {
        Warn(this, u"请从右侧列表中选择您要修改的属性值！"_s);
        return;
    }
    const QString value = m_valueEdit->text();
    if (value.isEmpty()) {
        Warn(this, u"您还没有填写要修改的属性值！"_s);
        return;
    }
    CADORecordset recordset(m_db);
    if (!OpenNewValue(recordset, value, u"要修改的值已经存在，请不要重复添加！"_s) ||
        !OpenListedValue(recordset, row, u"没有找到要修改的记录！"_s))
        return;
    recordset.Edit();
    if (!recordset.SetFieldText(u"name"_s, value) || !recordset.Update()) {
        recordset.CancelUpdate();
        return;
    }
    m_values->item(row, 0)->setText(value);
    Inform(this, u"修改成功！"_s);
}

void CCategoryDlg::OnDelete()
{
    if (!KindChosen())
        return;
    const int row = SelectedValueRow();
    if (row < 0) {
        Warn(this, u"请从右侧列表中选择您要删除的属性值！"_s);
        return;
    }
    CADORecordset recordset(m_db);
    if (!OpenListedValue(recordset, row, u"没有找到要删除的记录！"_s))
        return;
    if (!recordset.Delete())
        return;
    m_values->removeRow(row);
    Inform(this, u"删除成功！"_s);
}

#include "customers/clientdlg.h"

#include "customers/dictionarycombo.h"
#include "data/adorecordset.h"
#include "data/recordnumber.h"
#include "data/sqltext.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/vantrelview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Quotation marks and brackets end or break a name in the statements that look clients up.
bool HasForbiddenCharacter(const QString& text)
{
    for (QChar c : text)
        if (c == u'\'' || c == u'"' || c == u'[' || c == u']')
            return true;
    return false;
}

QString ObjectNameOf(const ClientField& field)
{
    return u"IDC_"_s + QString::fromLatin1(field.field).toUpper();
}

// A list title is the dialog's label without its colon.
QString TitleOf(const ClientField& field)
{
    QString title = QString::fromUtf16(field.label);
    if (title.endsWith(u'：'))
        title.chop(1);
    return title;
}

} // namespace

CClientDlg::CClientDlg(CADODatabase* database, CVantrelView* list, QWidget* parent)
    : QDialog(parent), m_db(database), m_list(list),
      m_continuous(new QCheckBox(u"连续添加"_s, this)), m_ok(new QPushButton(u"添加"_s, this))
{
    setObjectName(u"IDD_CLIENT"_s);
    setWindowTitle(u"客户信息"_s);

    const auto& fields = ClientFields();
    for (int i = 0; i < kClientFieldCount; ++i) {
        QWidget* control = nullptr;
        switch (fields[i].kind) {
        case ClientField::Edit:
            control = new QLineEdit(this);
            break;
        case ClientField::Combo: {
            auto* combo = new QComboBox(this);
            combo->setEditable(true);
            // The text typed is the value: no completion changes it, nothing is inserted.
            combo->setCompleter(nullptr);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMaxVisibleItems(20);
            control = combo;
            break;
        }
        case ClientField::MultiLine: {
            auto* edit = new QPlainTextEdit(this);
            edit->setTabChangesFocus(true);
            edit->setMinimumHeight(60);
            control = edit;
            break;
        }
        }
        control->setObjectName(ObjectNameOf(fields[i]));
        m_controls[size_t(i)] = control;
    }

    // Two label-and-field pairs per line; the long texts take a whole line.
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    int row = 0;
    int column = 0;
    for (int i = 0; i < kClientFieldCount; ++i) {
        auto* label = new QLabel(QString::fromUtf16(fields[i].label), this);
        label->setBuddy(m_controls[size_t(i)]);
        const bool wide = fields[i].kind == ClientField::MultiLine;
        if (wide && column != 0) {
            ++row;
            column = 0;
        }
        grid->addWidget(label, row, column,
                        wide ? Qt::AlignTop | Qt::AlignRight : Qt::AlignVCenter | Qt::AlignRight);
        grid->addWidget(m_controls[size_t(i)], row, column + 1, 1, wide ? 3 : 1);
        if (wide || column == 2) {
            ++row;
            column = 0;
        } else {
            column = 2;
        }
    }

    m_continuous->setObjectName(u"IDC_CONTINUOUS"_s);
    m_ok->setObjectName(u"IDOK"_s);
    m_ok->setDefault(true);
    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_continuous);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    resize(640, 560);

    QWidget* previous = nullptr;
    for (QWidget* control : m_controls) {
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, m_continuous);
    setTabOrder(m_continuous, m_ok);
    setTabOrder(m_ok, close);

    connect(m_ok, &QPushButton::clicked, this, &CClientDlg::OnOK);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CClientDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialised)
        InitDialog();
    QDialog::showEvent(event);
}

void CClientDlg::SetFieldTexts(const QVariantMap& fields)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const int index = IndexOf(it.key());
        if (index < 0)
            continue;
        m_strFields[size_t(index)] = it.value().toString();
        if (m_bInitialised)
            SetControlText(index, m_strFields[size_t(index)]);
    }
}

void CClientDlg::InitDialog()
{
    m_bInitialised = true;
    const auto& fields = ClientFields();
    for (int i = 0; i < kClientFieldCount; ++i)
        if (fields[i].kind == ClientField::Combo)
            FillDictionaryCombo(static_cast<QComboBox*>(m_controls[size_t(i)]), m_db,
                                QString::fromUtf16(fields[i].listStatement));
    if (m_bModify) {
        // A modify saves one client and closes.
        m_bContinuous = false;
        m_continuous->setEnabled(false);
    }
    for (int i = 0; i < kClientFieldCount; ++i)
        SetControlText(i, m_strFields[size_t(i)]);
    m_continuous->setChecked(m_bContinuous);
    if (auto* name = qobject_cast<QLineEdit*>(m_controls[0]))
        name->setFocus();
}

int CClientDlg::IndexOf(const QString& field) const
{
    const auto& fields = ClientFields();
    for (int i = 0; i < kClientFieldCount; ++i)
        if (field.compare(QLatin1StringView(fields[i].field), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QWidget* CClientDlg::Control(const QString& field) const
{
    const int index = IndexOf(field);
    return index < 0 ? nullptr : m_controls[size_t(index)];
}

QString CClientDlg::FieldText(const QString& field) const
{
    const int index = IndexOf(field);
    return index < 0 ? QString() : ControlText(index);
}

void CClientDlg::SetControlText(int index, const QString& text)
{
    QWidget* control = m_controls[size_t(index)];
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(text);
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(control))
        multi->setPlainText(text);
}

QString CClientDlg::ControlText(int index) const
{
    QWidget* control = m_controls[size_t(index)];
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(control))
        return multi->toPlainText();
    return {};
}

bool CClientDlg::ConfirmNoDuplicate(const QString& sql, const QString& question)
{
    CADORecordset recordset(m_db);
    if (!recordset.Open(sql) || recordset.GetRecordCount() < 1)
        return true;
    recordset.Close();
    return Ask(this, question, u"重复"_s);
}

void CClientDlg::OnOK()
{
    if (!m_bInitialised)
        InitDialog();
    for (int i = 0; i < kClientFieldCount; ++i)
        m_strFields[size_t(i)] = ControlText(i);
    m_bContinuous = m_continuous->isChecked();
    const QString& name = m_strFields[size_t(IndexOf(u"name"_s))];
    const QString& number = m_strFields[size_t(IndexOf(u"number"_s))];
    if (name.isEmpty()) {
        Inform(this, u"客户名称必须填写！"_s);
        return;
    }
    if (HasForbiddenCharacter(name)) {
        Inform(this, u"客户名称不能含有',\",[,]等符号！"_s);
        return;
    }
    if (HasForbiddenCharacter(number)) {
        Inform(this, u"客户编号不能含有',\",[,]等符号！"_s);
        return;
    }
    const QString nameQuestion = u"客户名称已经存在，是否要重复添加？"_s;
    const QString numberQuestion = u"客户编号已经存在，是否要重复添加？"_s;
    if (!m_bModify) {
        if (!ConfirmNoDuplicate(u"SELECT * FROM client WHERE [name] = '%1'"_s.arg(SqlText(name)),
                                nameQuestion))
            return;
        if (!ConfirmNoDuplicate(
                u"SELECT * FROM client WHERE [number] = '%1'"_s.arg(SqlText(number)),
                numberQuestion))
            return;
    } else {
        const QString no = QString::number(m_nNo);
        if (!ConfirmNoDuplicate(
                u"SELECT * FROM client WHERE [name] = '%1' AND [no] <> %2"_s.arg(SqlText(name), no),
                nameQuestion))
            return;
        if (!ConfirmNoDuplicate(u"SELECT * FROM client WHERE [number] = '%1' AND [no] <> %2"_s.arg(
                                    SqlText(number), no),
                                numberQuestion))
            return;
    }
    if (!Save())
        return;
    FeedDictionaries();
    if (m_bModify) {
        RewriteListRow();
        Inform(this, u"记录修改成功！"_s);
    } else {
        Inform(this, u"新数据添加成功！"_s);
    }
    if (!m_bContinuous)
        accept();
}

bool CClientDlg::Save()
{
    CADORecordset recordset(m_db);
    int no = -1;
    if (!m_bModify) {
        const TakenNumber taken = TakeRecordNumber(recordset, RecordKind::Client);
        // A number of -1 comes with its own failure text.
        if (!taken.Ok()) {
            Inform(this, taken.failure);
            return false;
        }
        no = taken.number;
        if (!recordset.Open(u"SELECT * FROM client"_s)) {
            Inform(this, u"表不存在，无法增加记录"_s);
            return false;
        }
        if (!recordset.AddNew()) {
            Inform(this, u"添加失败！"_s);
            return false;
        }
    } else {
        if (!recordset.Open(u"SELECT * FROM client WHERE [no] = %1"_s.arg(m_nNo))) {
            Inform(this, u"表不存在，无法修改记录"_s);
            return false;
        }
        if (recordset.GetRecordCount() < 1) {
            Inform(this, u"找不到此数据！"_s);
            return false;
        }
        recordset.MoveFirst();
        recordset.Edit();
    }
    const auto& fields = ClientFields();
    bool written = true;
    for (int i = 0; i < kClientFieldCount; ++i)
        written =
            recordset.SetFieldText(QLatin1StringView(fields[i].field), m_strFields[size_t(i)]) &&
            written;
    if (!m_bModify)
        written = recordset.SetFieldInt(u"no"_s, no) && written;
    if (!written || !recordset.Update()) {
        recordset.CancelUpdate();
        Inform(this, u"添加失败！"_s);
        return false;
    }
    return true;
}

void CClientDlg::FeedDictionaries()
{
    const auto& fields = ClientFields();
    for (const char* fed : kFedClientFields) {
        const int index = IndexOf(QLatin1StringView(fed));
        const ClientField& field = fields[index];
        const QString& value = m_strFields[size_t(index)];
        if (value.isEmpty() || !field.findStatement)
            continue;
        CADORecordset recordset(m_db);
        if (!recordset.Open(QString::fromUtf16(field.findStatement).arg(SqlText(value))) ||
            recordset.GetRecordCount() > 0)
            continue;
        if (!recordset.AddNew() || !recordset.SetFieldText(u"name"_s, value) ||
            !recordset.Update()) {
            recordset.CancelUpdate();
            continue;
        }
        // The next client of a continuous add is offered the value too.
        OfferDictionaryValue(static_cast<QComboBox*>(m_controls[size_t(index)]), value);
    }
}

void CClientDlg::RewriteListRow()
{
    if (!m_list || m_nItem < 0)
        return;
    CRecordListModel& list = m_list->List();
    // Only the row that still shows this client, and only the columns the list has: the list
    // may have been filled with fewer columns (a find), and its last column keeps the number.
    int shown = -1;
    if (m_nItem >= list.GetItemCount() || !list.RecordNumber(m_nItem, shown) || shown != m_nNo)
        return;
    const auto& fields = ClientFields();
    for (int column = 0; column + 1 < list.GetColumnCount(); ++column) {
        const QString title = list.ColumnAt(column).title;
        for (int i = 0; i < kClientFieldCount; ++i)
            if (TitleOf(fields[i]) == title) {
                list.SetItemText(m_nItem, column, m_strFields[size_t(i)]);
                break;
            }
    }
}

#include "customers/clientdlg.h"

#include "customers/customerlayouts.h"
#include "customers/dictionarycombo.h"
#include "data/adorecordset.h"
#include "data/sqltext.h"
#include "kit/controltext.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/vantrelview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString ObjectNameOf(const ClientField& field)
{
    return u"IDC_"_s + QString::fromLatin1(field.field).toUpper();
}

constexpr RecordSaveTexts kSaveTexts{
    u"表不存在，无法增加记录", u"添加失败！",     nullptr,
    u"表不存在，无法修改记录", u"找不到此数据！", u"添加失败！",
};

} // namespace

CClientDlg::CClientDlg(CADODatabase* database, CVantrelView* list, QWidget* parent)
    : CRecordDlg(database, u"client"_s, RecordKind::Client, kSaveTexts, parent), m_list(list)
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(NewButtonRow());
    resize(640, 560);

    QWidget* previous = nullptr;
    for (QWidget* control : m_controls) {
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, ContinuousBox());
}

void CClientDlg::SetFieldTexts(const QVariantMap& fields)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const int index = IndexOf(it.key());
        if (index < 0)
            continue;
        m_strFields[size_t(index)] = it.value().toString();
        if (Initialised())
            SetControlText(m_controls[size_t(index)], m_strFields[size_t(index)]);
    }
}

void CClientDlg::OnInitDialog()
{
    const auto& fields = ClientFields();
    for (int i = 0; i < kClientFieldCount; ++i)
        if (fields[i].kind == ClientField::Combo)
            FillDictionaryCombo(static_cast<QComboBox*>(m_controls[size_t(i)]), m_db,
                                QString::fromUtf16(fields[i].listStatement));
    for (int i = 0; i < kClientFieldCount; ++i)
        SetControlText(m_controls[size_t(i)], m_strFields[size_t(i)]);
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
    return index < 0 ? QString() : ControlText(m_controls[size_t(index)]);
}

void CClientDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    for (int i = 0; i < kClientFieldCount; ++i)
        m_strFields[size_t(i)] = ControlText(m_controls[size_t(i)]);
    const QString& name = m_strFields[size_t(IndexOf(u"name"_s))];
    const QString& number = m_strFields[size_t(IndexOf(u"number"_s))];
    if (name.isEmpty()) {
        Warn(this, u"客户名称必须填写！"_s);
        return;
    }
    if (HasQuoteOrBracket(name)) {
        Warn(this, u"客户名称不能含有',\",[,]等符号！"_s);
        return;
    }
    if (HasQuoteOrBracket(number)) {
        Warn(this, u"客户编号不能含有',\",[,]等符号！"_s);
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
    if (m_bModify && m_list)
        RewriteListRow(m_list->List(), ListLayouts::kClients, FieldValues());
    Saved();
}

bool CClientDlg::Save()
{
    CADORecordset recordset(m_db);
    int no = -1;
    if (!BeginSave(recordset, no))
        return false;
    const auto& fields = ClientFields();
    bool written = true;
    for (int i = 0; i < kClientFieldCount; ++i)
        written =
            recordset.SetFieldText(QLatin1StringView(fields[i].field), m_strFields[size_t(i)]) &&
            written;
    return EndSave(recordset, written);
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

QVariantMap CClientDlg::FieldValues() const
{
    QVariantMap values;
    const auto& fields = ClientFields();
    for (int i = 0; i < kClientFieldCount; ++i)
        values.insert(QString::fromLatin1(fields[i].field), m_strFields[size_t(i)]);
    return values;
}

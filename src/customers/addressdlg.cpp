#include "customers/addressdlg.h"

#include "customers/addressentry.h"
#include "customers/addressgroups.h"
#include "customers/customerlayouts.h"
#include "customers/dictionarycombo.h"
#include "data/adorecordset.h"
#include "data/sqltext.h"
#include "kit/messages.h"
#include "views/vantrelview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

static_assert(CAddressDlg::kTextFieldCount == kAddressTextFieldCount);

const char* ColumnOf(int field)
{
    return AddressTextFields()[size_t(field)].column;
}

QString LabelOf(int field)
{
    return QString::fromUtf16(AddressTextFields()[size_t(field)].label) + u"："_s;
}

constexpr RecordSaveTexts kSaveTexts{
    u"表不存在，无法增加记录",   nullptr,           nullptr, u"表不存在，无法修改记录",
    u"找不到此记录，修改失败！", u"更新数据失败！",
};

QString ObjectNameOf(const char* field)
{
    return u"IDC_"_s + QString::fromLatin1(field).toUpper();
}

// The condition that finds the entries of a group; entries without one are a group too.
QString GroupCondition(const QString& group)
{
    if (group.isEmpty())
        return u"([group] IS NULL OR [group] = '')"_s;
    return u"[group] = '%1'"_s.arg(SqlText(group));
}

} // namespace

CAddressDlg::CAddressDlg(CADODatabase* database, CVantrelView* list, QWidget* parent)
    : CRecordDlg(database, u"address"_s, std::nullopt, kSaveTexts, parent), m_list(list),
      m_group(new QComboBox(this)), m_male(new QRadioButton(u"男"_s, this)),
      m_female(new QRadioButton(u"女"_s, this))
{
    setObjectName(u"IDD_ADDRESS"_s);
    setWindowTitle(u"通讯录"_s);

    m_group->setObjectName(u"IDC_GROUP"_s);
    m_group->setEditable(true);
    // The text typed is the group: no completion changes it, nothing is inserted.
    m_group->setCompleter(nullptr);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->setMaxVisibleItems(20);
    for (int i = 0; i < kTextFieldCount; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(ObjectNameOf(ColumnOf(i)));
        m_edits[size_t(i)] = edit;
    }
    m_male->setObjectName(u"IDC_MALE"_s);
    m_female->setObjectName(u"IDC_FEMALE"_s);
    auto* sexes = new QButtonGroup(this);
    sexes->addButton(m_male, 0);
    sexes->addButton(m_female, 1);
    m_male->setChecked(true);
    auto* sexRow = new QHBoxLayout;
    sexRow->setContentsMargins(0, 0, 0, 0);
    sexRow->addWidget(m_male);
    sexRow->addWidget(m_female);
    sexRow->addStretch(1);
    auto* sexBox = new QWidget(this);
    sexBox->setLayout(sexRow);

    // Label and field pairs, two to a line: group and name first, the sex after the name, then
    // the text fields; the fax stands alone so that each address has its postcode beside it.
    struct Cell
    {
        QString label;
        QWidget* field;
    };
    std::vector<Cell> cells{
        {u"分类："_s, m_group}, {u"姓名："_s, m_edits[kUser]}, {u"性别："_s, sexBox}};
    for (int i = kUser + 1; i < kTextFieldCount; ++i) {
        cells.push_back({LabelOf(i), m_edits[size_t(i)]});
        if (i == kFax)
            cells.push_back({QString(), nullptr});
    }
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!cells[i].field)
            continue;
        const int row = int(i / 2);
        const int column = int(i % 2) * 2;
        auto* label = new QLabel(cells[i].label, this);
        label->setBuddy(cells[i].field);
        grid->addWidget(label, row, column, Qt::AlignVCenter | Qt::AlignRight);
        // The remark, last and alone on its line, takes the whole width.
        const bool wide = i + 1 == cells.size() && column == 0;
        grid->addWidget(cells[i].field, row, column + 1, 1, wide ? 3 : 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(NewButtonRow());
    resize(600, 480);

    setTabOrder(m_group, m_edits[kUser]);
    setTabOrder(m_edits[kUser], m_male);
    setTabOrder(m_male, m_female);
    QWidget* previous = m_female;
    for (int i = kUser + 1; i < kTextFieldCount; ++i) {
        setTabOrder(previous, m_edits[size_t(i)]);
        previous = m_edits[size_t(i)];
    }
    setTabOrder(previous, ContinuousBox());
}

int CAddressDlg::IndexOf(const QString& field) const
{
    for (int i = 0; i < kTextFieldCount; ++i)
        if (field.compare(QLatin1StringView(ColumnOf(i)), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QWidget* CAddressDlg::Control(const QString& field) const
{
    if (field.compare(u"group"_s, Qt::CaseInsensitive) == 0)
        return m_group;
    const int index = IndexOf(field);
    return index < 0 ? nullptr : m_edits[size_t(index)];
}

QString CAddressDlg::FieldText(const QString& field) const
{
    if (field.compare(u"group"_s, Qt::CaseInsensitive) == 0)
        return m_group->currentText();
    const int index = IndexOf(field);
    return index < 0 ? QString() : m_edits[size_t(index)]->text();
}

void CAddressDlg::SetFieldValues(const QVariantMap& fields)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (it.key().compare(u"group"_s, Qt::CaseInsensitive) == 0) {
            m_strGroup = it.value().toString();
            if (Initialised())
                m_group->setEditText(m_strGroup);
        } else if (it.key().compare(u"sex"_s, Qt::CaseInsensitive) == 0) {
            m_nSex = it.value().toInt() != 0 ? 1 : 0;
            if (Initialised())
                (m_nSex ? m_female : m_male)->setChecked(true);
        } else if (const int index = IndexOf(it.key()); index >= 0) {
            m_strFields[size_t(index)] = it.value().toString();
            if (Initialised())
                m_edits[size_t(index)]->setText(m_strFields[size_t(index)]);
        }
    }
}

void CAddressDlg::OnInitDialog()
{
    FillGroupCombo(m_group, m_db, this);
    // A new entry goes into the first group unless the user picks another.
    if (m_bModify || m_group->count() == 0)
        m_group->setEditText(m_strGroup);
    else
        m_group->setCurrentIndex(0);
    for (int i = 0; i < kTextFieldCount; ++i)
        m_edits[size_t(i)]->setText(m_strFields[size_t(i)]);
    (m_nSex ? m_female : m_male)->setChecked(true);
    m_edits[kUser]->setFocus();
}

void CAddressDlg::TakeControlValues()
{
    m_strGroup = m_group->currentText();
    for (int i = 0; i < kTextFieldCount; ++i)
        m_strFields[size_t(i)] = m_edits[size_t(i)]->text();
    m_nSex = m_female->isChecked() ? 1 : 0;
}

void CAddressDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    TakeControlValues();
    const QString& user = m_strFields[kUser];
    if (user.isEmpty()) {
        Warn(this, u"联系人姓名必须填写！"_s);
        return;
    }
    // An entry without a group is no reason for a nameless group.
    if (!m_strGroup.isEmpty()) {
        if (!StoreGroup(m_db, m_strGroup)) {
            Warn(this, u"储存分类失败！"_s);
            return;
        }
        OfferDictionaryValue(m_group, m_strGroup);
    }
    QString duplicates = u"SELECT * FROM address WHERE "_s;
    if (m_bModify)
        duplicates += u"[no] <> %1 AND "_s.arg(m_nNo);
    duplicates += GroupCondition(m_strGroup) + u" AND [user] = '%1'"_s.arg(SqlText(user));
    if (!ConfirmNoDuplicate(duplicates, u"同分类下已经存在该联系人，是否要重复添加？"_s))
        return;
    if (!Save())
        return;
    if (m_bModify && m_list)
        RewriteListRow(m_list->List(), ListLayouts::kAddressBook, FieldValues());
    Saved(u"添加成功！"_s, u"修改成功！"_s);
}

bool CAddressDlg::Save()
{
    CADORecordset recordset(m_db);
    int no = -1;
    if (!BeginSave(recordset, no))
        return false;
    bool written = recordset.SetFieldText(u"group"_s, m_strGroup);
    written = recordset.SetFieldInt(u"sex"_s, m_nSex) && written;
    for (int i = 0; i < kTextFieldCount; ++i)
        written = recordset.SetFieldText(QLatin1StringView(ColumnOf(i)), m_strFields[size_t(i)]) &&
                  written;
    return EndSave(recordset, written);
}

QVariantMap CAddressDlg::FieldValues() const
{
    QVariantMap values{{u"group"_s, m_strGroup}, {u"sex"_s, m_nSex}};
    for (int i = 0; i < kTextFieldCount; ++i)
        values.insert(QString::fromLatin1(ColumnOf(i)), m_strFields[size_t(i)]);
    return values;
}

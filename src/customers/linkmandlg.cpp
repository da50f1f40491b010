#include "customers/linkmandlg.h"

#include "customers/customerlayouts.h"
#include "customers/customerrecords.h"
#include "customers/dictionarycombo.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/formats.h"
#include "data/sqltext.h"
#include "kit/controltext.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/middlelistview.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

// The five columns whose values have dictionaries of the same name.
const QStringList& DictionaryColumns()
{
    static const QStringList columns = {u"important"_s, u"credit"_s, u"country"_s, u"province"_s,
                                        u"city"_s};
    return columns;
}

// The text columns the dialog writes, in the order they are written.
constexpr const char* kSavedTexts[] = {
    "name",        "number",    "nation", "important", "credit", "country",   "province",
    "city",        "branch",    "duty",   "mobile",    "fax",    "qq",        "msn",
    "officephone", "homephone", "email1", "email2",    "like",   "education", "technical",
    "id",          "location",  "loczip", "address",   "adrzip", "holiday",   "remark"};

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

constexpr RecordSaveTexts kSaveTexts{
    u"记录表无法打开，增加记录失败！",
    nullptr,
    u"联系人编号无法获取！",
    u"记录表无法打开，修改记录失败！",
    u"无法找到要修改的数据！修改记录失败！",
    u"记录无法更新，添加失败！",
};

} // namespace

CLinkmanDlg::CLinkmanDlg(CADODatabase* database, CMiddleListView* list, QWidget* parent)
    : CRecordDlg(database, u"linkman"_s, RecordKind::Linkman, kSaveTexts, parent), m_list(list)
{
    setObjectName(u"IDD_LINKMAN"_s);
    setWindowTitle(u"联系人管理"_s);
    BuildControls();
    m_clientBox.Init(m_clientCombo);
}

void CLinkmanDlg::BuildControls()
{
    auto* grid = new QGridLayout;
    auto label = [this, grid](const QString& text, int row, int column) {
        auto* caption = new QLabel(text, this);
        grid->addWidget(caption, row, column, Qt::AlignRight | Qt::AlignVCenter);
        return caption;
    };
    auto edit = [this, grid, &label](const char* field, const QString& caption, int row, int column,
                                     int span = 1) {
        label(caption, row, column);
        auto* control = new QLineEdit(this);
        control->setObjectName(Latin(field));
        grid->addWidget(control, row, column + 1, 1, span);
        m_controls[Latin(field)] = control;
        return control;
    };
    auto combo = [this, grid, &label](const char* field, const QString& caption, int row,
                                      int column) {
        label(caption, row, column);
        auto* control = new QComboBox(this);
        control->setObjectName(Latin(field));
        control->setEditable(true);
        control->setInsertPolicy(QComboBox::NoInsert);
        // A plain drop-down box: what the user types stays as typed.
        control->setCompleter(nullptr);
        grid->addWidget(control, row, column + 1);
        m_controls[Latin(field)] = control;
        return control;
    };

    edit("name", u"姓名："_s, 0, 0);
    label(u"所属客户："_s, 0, 2);
    m_clientCombo = new QComboBox(this);
    m_clientCombo->setObjectName(u"client"_s);
    grid->addWidget(m_clientCombo, 0, 3, 1, 3);
    m_controls[u"client"_s] = m_clientCombo;

    edit("number", u"编号："_s, 1, 0);
    edit("nation", u"民族："_s, 1, 2);
    label(u"性别："_s, 1, 4);
    m_male = new QRadioButton(u"男"_s, this);
    m_male->setObjectName(u"male"_s);
    m_female = new QRadioButton(u"女"_s, this);
    m_female->setObjectName(u"female"_s);
    auto* sexRow = new QHBoxLayout;
    sexRow->addWidget(m_male);
    sexRow->addWidget(m_female);
    sexRow->addStretch();
    grid->addLayout(sexRow, 1, 5);

    combo("important", u"重要度："_s, 2, 0);
    combo("credit", u"信誉："_s, 2, 2);
    edit("branch", u"部门："_s, 2, 4);
    edit("duty", u"职务："_s, 3, 0);
    edit("mobile", u"手机："_s, 3, 2);
    edit("officephone", u"工作电话："_s, 3, 4);
    edit("homephone", u"家庭电话："_s, 4, 0);
    edit("fax", u"传真："_s, 4, 2);
    edit("qq", u"QQ："_s, 4, 4);
    edit("msn", u"MSN："_s, 5, 0);
    edit("email1", u"Email1："_s, 5, 2);
    edit("email2", u"Email2："_s, 5, 4);
    edit("id", u"身份证号："_s, 6, 0);
    edit("like", u"爱好："_s, 6, 2);
    edit("education", u"学历："_s, 6, 4);
    edit("technical", u"职称："_s, 7, 0);
    edit("holiday", u"休息日："_s, 7, 2);

    label(u"生日："_s, 7, 4);
    auto* birthdayRow = new QHBoxLayout;
    auto birthdayPart = [this, birthdayRow](const QString& name, const QString& unit, int length) {
        auto* part = new QLineEdit(this);
        part->setObjectName(name);
        part->setMaxLength(length);
        part->setFixedWidth(part->fontMetrics().horizontalAdvance(u'0') * (length + 2) + 8);
        birthdayRow->addWidget(part);
        birthdayRow->addWidget(new QLabel(unit, this));
        return part;
    };
    m_yearEdit = birthdayPart(u"birthdayYear"_s, u"年"_s, 6);
    m_monthEdit = birthdayPart(u"birthdayMonth"_s, u"月"_s, 4);
    m_dayEdit = birthdayPart(u"birthdayDay"_s, u"日"_s, 4);
    birthdayRow->addStretch();
    grid->addLayout(birthdayRow, 7, 5);

    combo("country", u"国家："_s, 8, 0);
    combo("province", u"省："_s, 8, 2);
    combo("city", u"市："_s, 8, 4);
    edit("location", u"工作地址："_s, 9, 0, 3);
    edit("loczip", u"邮编："_s, 9, 4);
    edit("address", u"家庭地址："_s, 10, 0, 3);
    edit("adrzip", u"邮编："_s, 10, 4);

    label(u"备注："_s, 11, 0)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto* remark = new QPlainTextEdit(this);
    remark->setObjectName(u"remark"_s);
    remark->setTabChangesFocus(true);
    remark->setFixedHeight(remark->fontMetrics().height() * 4 + 12);
    grid->addWidget(remark, 11, 1, 1, 5);
    m_controls[u"remark"_s] = remark;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(NewButtonRow());
    for (int column : {1, 3, 5})
        grid->setColumnStretch(column, 1);
}

void CLinkmanDlg::SetRequest(const CRecordRequest& request)
{
    SetRequestMembers(request);
    m_bPresetClient = request.presetClient ? 1 : 0;
    m_strClient = request.client;
    const QDate birthday = request.fields.value(u"birthday"_s).toDate();
    if (birthday.isValid()) {
        m_nYear = birthday.year();
        m_nMonth = birthday.month();
        m_nDay = birthday.day();
    }
    m_nSex = request.fields.value(u"sex"_s).toInt() != 0 ? 1 : 0;
    SetFieldTexts(request.fields);
}

void CLinkmanDlg::SetFieldTexts(const QVariantMap& fields)
{
    m_fields = fields;
    if (Initialised())
        ApplyMembers();
}

void CLinkmanDlg::OnInitDialog()
{
    for (const QString& column : DictionaryColumns())
        FillDictionaryCombo(qobject_cast<QComboBox*>(m_controls.at(column)), m_db,
                            u"SELECT * FROM %1 ORDER BY name"_s.arg(column));
    LoadClients();
    if (m_clientBox.GetCount() > 0)
        m_clientBox.SetCurSel(0);
    if (m_bModify) {
        SelectClient(m_strClient);
        // A contact whose client has been deleted shows no client: it is never moved to
        // another one unless the user picks it.
        const int owner = IntendedClient();
        if (std::none_of(m_clients.begin(), m_clients.end(),
                         [owner](const CNameEntry& entry) { return entry.m_nNo == owner; })) {
            m_clientBox.SetCurSel(-1);
            m_clientBox.SetText(QString());
        }
    }
    if (m_bPresetClient)
        SelectClient(m_strClient);
    ApplyMembers();
}

void CLinkmanDlg::LoadClients()
{
    m_clients.clear();
    CADORecordset recordset(m_db);
    // Clients of one name by their numbers: the first of a name is the same on every backend.
    if (!recordset.Open(u"SELECT * FROM client ORDER BY name, [no]"_s))
        return;
    m_clients.reserve(size_t(std::max(recordset.GetRecordCount(), 0)));
    ForEachRow(recordset, [&] {
        CNameEntry entry;
        recordset.GetFieldText(u"name"_s, entry.m_strName);
        recordset.GetFieldInt(u"no"_s, entry.m_nNo);
        m_clientBox.AddString(entry.m_strName);
        m_clientBox.AddCompletion(entry.m_strName);
        m_clients.push_back(std::move(entry));
    });
}

void CLinkmanDlg::SelectClient(const QString& name)
{
    const int index = m_clientBox.FindStringExact(-1, name);
    if (index >= 0)
        m_clientBox.SetCurSel(index);
}

void CLinkmanDlg::ApplyMembers()
{
    for (const auto& [field, control] : m_controls) {
        if (field == u"client"_s)
            continue;
        SetControlText(control, m_fields.value(field).toString());
    }
    m_yearEdit->setText(QString::number(m_nYear));
    m_monthEdit->setText(QString::number(m_nMonth));
    m_dayEdit->setText(QString::number(m_nDay));
    (m_nSex != 0 ? m_female : m_male)->setChecked(true);
}

QWidget* CLinkmanDlg::Control(const QString& field) const
{
    const auto it = m_controls.find(field);
    return it == m_controls.end() ? nullptr : it->second;
}

QString CLinkmanDlg::FieldText(const QString& field) const
{
    return ControlText(Control(field));
}

bool CLinkmanDlg::ReadNumber(const QLineEdit* edit, int low, int high, int& value)
{
    bool ok = false;
    const qlonglong number = edit->text().trimmed().toLongLong(&ok);
    if (!ok || number < low || number > high)
        return false;
    value = int(number);
    return true;
}

bool CLinkmanDlg::ReadBirthday()
{
    // Text that is no whole number is refused like a number out of range, with the field's
    // own message, rather than read as 0.
    struct Part
    {
        QLineEdit* edit;
        int low;
        int high;
        int* value;
        QString message;
    };
    const Part parts[] = {
        {m_yearEdit, 1900, 2050, &m_nYear, u"年份输入有误，必须在1900——2050年之间！"_s},
        {m_monthEdit, 1, 12, &m_nMonth, u"月份输入有误，必须在1——12之间！"_s},
        {m_dayEdit, 1, 31, &m_nDay, u"日期输入有误，必须在1——31之间！"_s},
    };
    for (const Part& part : parts) {
        if (!ReadNumber(part.edit, part.low, part.high, *part.value)) {
            Warn(this, part.message);
            part.edit->setFocus();
            part.edit->selectAll();
            return false;
        }
    }
    return true;
}

QDate CLinkmanDlg::BirthdayDate(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return QDate(year, month, std::min(day, first.daysInMonth()));
}

void CLinkmanDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    const QString name = FieldText(u"name"_s);
    if (name.isEmpty()) {
        Warn(this, u"联系人姓名必须填写！"_s);
        return;
    }
    if (!ReadBirthday())
        return;
    const QString clientName = m_clientBox.Text();
    const int clientNo = OwningClient(clientName);
    if (clientNo < 0) {
        Warn(this, u"没有找到所属客户，添加失败！"_s);
        return;
    }
    const QString number = FieldText(u"number"_s);
    const QString nameQuestion = u"客户所属联系人姓名已经存在，是否要重复添加？"_s;
    const QString numberQuestion = u"客户所属联系人编号已经存在，是否要重复添加？"_s;
    if (m_bModify) {
        if (!ConfirmNoDuplicate(
                u"SELECT * FROM linkman WHERE [name] = '%1' AND [no] <> %2 AND [client] = %3"_s.arg(
                    SqlText(name), QString::number(m_nNo), QString::number(clientNo)),
                nameQuestion) ||
            !ConfirmNoDuplicate(
                u"SELECT * FROM linkman WHERE [number] = '%1' AND [no] <> %2 AND [client] = %3"_s
                    .arg(SqlText(number), QString::number(m_nNo), QString::number(clientNo)),
                numberQuestion))
            return;
    } else {
        if (!ConfirmNoDuplicate(
                u"SELECT * FROM linkman WHERE [name] = '%1' AND [client] = %2"_s.arg(
                    SqlText(name), QString::number(clientNo)),
                nameQuestion) ||
            !ConfirmNoDuplicate(
                u"SELECT * FROM linkman WHERE [number] = '%1' AND [client] = %2"_s.arg(
                    SqlText(number), QString::number(clientNo)),
                numberQuestion))
            return;
    }

    const QDate birthday = BirthdayDate(m_nYear, m_nMonth, m_nDay);
    int saved = m_nNo;
    if (!Save(clientNo, birthday, saved))
        return;
    FeedDictionaries();
    const QVariantMap values = RowValues(clientName, birthday);
    if (m_bModify) {
        if (m_list)
            RewriteListRow(m_list->List(), ListLayouts::kContacts, values);
    } else {
        AppendListRow(clientNo, values, saved);
    }
    Saved();
}

int CLinkmanDlg::IntendedClient() const
{
    if (m_bModify) {
        bool ok = false;
        const int stored = m_fields.value(u"client"_s).toInt(&ok);
        return ok ? stored : -1;
    }
    if (!m_bPresetClient || !m_list)
        return -1;
    // The secondary list adds to the client selected in the main client list.
    const CVantrelView* main = m_list->Document().MainList();
    if (!main || main->Category() != CustomerCategory::kClients)
        return -1;
    const int row = main->SelectedRow();
    int selected = -1;
    if (main->List().GetItemText(row, 0) != m_strClient ||
        !main->List().RecordNumber(row, selected))
        return -1;
    return selected;
}

int CLinkmanDlg::OwningClient(const QString& name) const
{
    // Clients may share a name. While the box still names the client the contact belongs to
    // (or was opened for), that very client keeps it; otherwise the first client of the name.
    const int intended = IntendedClient();
    if (intended >= 0)
        for (const CNameEntry& entry : m_clients)
            if (entry.m_nNo == intended && entry.m_strName == name)
                return intended;
    const CNameEntry* entry = FindNameEntry(m_clients, name);
    return entry ? entry->m_nNo : -1;
}

bool CLinkmanDlg::Save(int client, const QDate& birthday, int& number)
{
    CADORecordset recordset(m_db);
    if (!BeginSave(recordset, number))
        return false;
    for (const char* field : kSavedTexts)
        recordset.SetFieldText(Latin(field), FieldText(Latin(field)));
    recordset.SetFieldInt(u"sex"_s, m_female->isChecked() ? 1 : 0);
    recordset.SetFieldDate(u"birthday"_s, QDateTime(birthday, QTime(0, 0)));
    recordset.SetFieldInt(u"client"_s, client);
    return EndSave(recordset, true);
}

void CLinkmanDlg::FeedDictionaries()
{
    for (const QString& column : DictionaryColumns()) {
        const QString value = FieldText(column);
        if (value.isEmpty())
            continue;
        CADORecordset recordset(m_db);
        if (!recordset.Open(u"SELECT * FROM %1"_s.arg(column)))
            continue;
        bool known = false;
        ForEachRow(recordset, [&] {
            QString name;
            recordset.GetFieldText(u"name"_s, name);
            known = name == value;
            return !known;
        });
        if (known)
            continue;
        if (recordset.AddNew() && recordset.SetFieldText(u"name"_s, value) && recordset.Update()) {
            // Offered from now on, also by the next contact of this dialog.
            OfferDictionaryValue(qobject_cast<QComboBox*>(m_controls.at(column)), value);
        }
    }
}

QVariantMap CLinkmanDlg::RowValues(const QString& clientName, const QDate& birthday) const
{
    QVariantMap values;
    for (const auto& entry : m_controls)
        values.insert(entry.first, FieldText(entry.first));
    values.insert(u"client"_s, clientName);
    values.insert(u"sex"_s, m_female->isChecked() ? 1 : 0);
    values.insert(u"birthday"_s, birthday);
    return values;
}

void CLinkmanDlg::AppendListRow(int client, const QVariantMap& values, int number)
{
    // Only when the secondary list shows the contacts of this very client: the client
    // selected in the main client list, whose contacts name it in their second column.
    if (!m_list || m_list->CurrentQuery() != u"SELECT * FROM linkman"_s)
        return;
    const CVantrelView* main = m_list->Document().MainList();
    if (!main || main->Category() != CustomerCategory::kClients)
        return;
    int selected = -1;
    if (!main->List().RecordNumber(main->SelectedRow(), selected) || selected != client)
        return;
    CRecordListModel& list = m_list->List();
    if (list.GetItemCount() > 0 && list.GetItemText(0, 1) != values.value(u"client"_s).toString())
        return;
    QStringList cells = LayoutRowTexts(ListLayouts::kContacts, values);
    cells << FormatNumber(number);
    list.AppendRow(cells, ListLayouts::kContacts.image);
}

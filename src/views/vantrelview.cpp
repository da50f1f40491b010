#include "views/vantrelview.h"

#include "data/adorecordset.h"
#include "data/formats.h"
#include "data/gbktext.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/listicons.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/recordcategory.h"
#include "views/recordfields.h"
#include "views/totalsrow.h"
#include "views/vantreldoc.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The long text a notes, appointments or reminders row shows in the text view is cut to this
// many code-page bytes.
constexpr int kTextViewLimit = 64000;

constexpr FieldSpec kClientFields[] = {
    {"name", FieldKind::Text},     {"number", FieldKind::Text},    {"corporation", FieldKind::Text},
    {"operator", FieldKind::Text}, {"property", FieldKind::Text},  {"type", FieldKind::Text},
    {"vocation", FieldKind::Text}, {"important", FieldKind::Text}, {"credit", FieldKind::Text},
    {"country", FieldKind::Text},  {"province", FieldKind::Text},  {"city", FieldKind::Text},
    {"people", FieldKind::Text},   {"turnover", FieldKind::Text},  {"address", FieldKind::Text},
    {"zip", FieldKind::Text},      {"site", FieldKind::Text},      {"bank", FieldKind::Text},
    {"account", FieldKind::Text},  {"tax", FieldKind::Text},       {"survey", FieldKind::Text},
    {"remark", FieldKind::Text},
};

constexpr FieldSpec kOrderFields[] = {
    {"date", FieldKind::Day},       {"paper", FieldKind::Text},  {"item", FieldKind::Text},
    {"bargain", FieldKind::Text},   {"client", FieldKind::Text}, {"linkman", FieldKind::Text},
    {"goods", FieldKind::Text},     {"unit", FieldKind::Text},   {"number", FieldKind::Double},
    {"warehouse", FieldKind::Text}, {"sum", FieldKind::Double},  {"detail", FieldKind::Text},
    {"principal", FieldKind::Text}, {"square", FieldKind::Flag}, {"remark", FieldKind::Text},
};

constexpr FieldSpec kNoteFields[] = {
    {"time", FieldKind::DateTime},
    {"weather", FieldKind::Text},
    {"caption", FieldKind::Text},
    {"content", FieldKind::Text},
};

constexpr FieldSpec kReminderFields[] = {
    {"time", FieldKind::DateTime},
    {"endtime", FieldKind::DateTime},
    {"content", FieldKind::Text},
};

constexpr FieldSpec kAddressFields[] = {
    {"group", FieldKind::Text},       {"user", FieldKind::Text},
    {"sex", FieldKind::Int},          {"mobile", FieldKind::Text},
    {"pas", FieldKind::Text},         {"homephone", FieldKind::Text},
    {"officephone", FieldKind::Text}, {"qq", FieldKind::Text},
    {"msn", FieldKind::Text},         {"email1", FieldKind::Text},
    {"email2", FieldKind::Text},      {"birthday", FieldKind::Text},
    {"like", FieldKind::Text},        {"company", FieldKind::Text},
    {"branch", FieldKind::Text},      {"duty", FieldKind::Text},
    {"fax", FieldKind::Text},         {"companyaddr", FieldKind::Text},
    {"companyzip", FieldKind::Text},  {"homeaddr", FieldKind::Text},
    {"homezip", FieldKind::Text},     {"remark", FieldKind::Text},
};

std::span<const FieldSpec> FieldsOf(RecordDialog dialog)
{
    switch (dialog) {
    case RecordDialog::Client:
        return kClientFields;
    case RecordDialog::Purchase:
    case RecordDialog::Sale:
        return kOrderFields;
    case RecordDialog::Note:
        return kNoteFields;
    case RecordDialog::Reminder:
        return kReminderFields;
    case RecordDialog::AddressBook:
        return kAddressFields;
    default:
        return {};
    }
}

// The dialog that adds a record of a category.
std::optional<RecordDialog> DialogOf(int category)
{
    switch (category) {
    case RecordCategory::kClients:
        return RecordDialog::Client;
    case RecordCategory::kPurchases:
        return RecordDialog::Purchase;
    case RecordCategory::kSales:
        return RecordDialog::Sale;
    case RecordCategory::kNotes:
        return RecordDialog::Note;
    case RecordCategory::kAppointments:
        return RecordDialog::Appointment;
    case RecordCategory::kReminders:
        return RecordDialog::Reminder;
    case RecordCategory::kAddressBook:
        return RecordDialog::AddressBook;
    default:
        return std::nullopt;
    }
}

// The text cut to at most `limit` code-page bytes, never inside a character.
QString CutToBytes(const QString& text, int limit)
{
    if (GbkLength(text) <= limit)
        return text;
    qsizetype low = 0;            // fits
    qsizetype high = text.size(); // does not fit
    while (high - low > 1) {
        const qsizetype middle = (low + high) / 2;
        if (GbkLength(text.left(middle)) <= limit)
            low = middle;
        else
            high = middle;
    }
    if (low > 0 && text.at(low - 1).isHighSurrogate())
        --low;
    return text.left(low);
}

QString DateText(const QDateTime& stamp)
{
    return stamp.isNull() ? QString() : FormatDate(stamp.date());
}

} // namespace

CVantrelView::CVantrelView(CVantrelDoc& doc, QWidget* parent) : CRecordListView(doc, parent)
{
    setObjectName(u"VantrelView"_s);
    List().SetImageList(MainListIcons());
    doc.RegisterView(this);
    connect(this, &QAbstractItemView::clicked, this, [this] { OnClickRow(SelectedRow()); });
}

void CVantrelView::SetCategory(int category)
{
    if (category != m_nCategory)
        SetCurrentQuery(QString());
    m_nCategory = category;
}

QString CVantrelView::CategoryCaption(int category)
{
    switch (category) {
    case RecordCategory::kClients:
        return u"客户"_s;
    case RecordCategory::kPurchases:
        return u"采购"_s;
    case RecordCategory::kSales:
        return u"销售"_s;
    case RecordCategory::kNotes:
        return u"便笺"_s;
    case RecordCategory::kAppointments:
        return u"约会"_s;
    case RecordCategory::kReminders:
        return u"提醒"_s;
    case RecordCategory::kDomesticCodes:
        return u"国内邮编、区号"_s;
    case RecordCategory::kInternationalCodes:
        return u"国际区号"_s;
    case RecordCategory::kPhoneNumbers:
        return u"常用电话"_s;
    case RecordCategory::kAddressBook:
        return u"通讯录"_s;
    case RecordCategory::kStatistics:
        return {};
    default:
        return u"信息提示栏"_s;
    }
}

void CVantrelView::Activate()
{
    if (m_nCategory != RecordCategory::kStatistics)
        m_strCaption = CategoryCaption(m_nCategory);
    Document().SetInfoText(m_strCaption);
}

void CVantrelView::focusInEvent(QFocusEvent* event)
{
    CRecordListView::focusInEvent(event);
    Activate();
}

bool CVantrelView::IsOrderList() const
{
    return m_nCategory == RecordCategory::kPurchases || m_nCategory == RecordCategory::kSales;
}

bool CVantrelView::IsTotalsRow(int row) const
{
    return IsOrderList() && row == List().GetItemCount() - 1;
}

void CVantrelView::OnClickRow(int row)
{
    if (row < 0 || row >= List().GetItemCount())
        return;
    switch (m_nCategory) {
    case RecordCategory::kClients:
        ShowContacts(row);
        break;
    case RecordCategory::kPurchases:
    case RecordCategory::kSales:
        if (!IsTotalsRow(row))
            ShowPayments(row);
        break;
    case RecordCategory::kNotes:
        ShowText(row, 3);
        break;
    case RecordCategory::kAppointments:
        ShowText(row, 5);
        break;
    case RecordCategory::kReminders:
        ShowText(row, 2);
        break;
    default:
        break;
    }
}

void CVantrelView::ShowContacts(int row)
{
    int number = 0;
    List().RecordNumber(row, number);
    CADORecordset recordset(Document().Database());
    QString clientName = u"未知客户"_s;
    if (OpenFirstRow(recordset, u"SELECT * FROM client WHERE [no] = %1"_s.arg(number)))
        recordset.GetFieldText(u"name"_s, clientName);
    recordset.Close();

    CMiddleListView* lower = Document().MiddleList();
    if (!lower)
        return;
    CRecordListModel& list = lower->List();
    list.DeleteAllItems();
    if (!recordset.Open(u"SELECT * FROM linkman WHERE [client] = %1"_s.arg(number)))
        return;
    lower->SetCurrentQuery(u"SELECT * FROM linkman"_s);
    static constexpr const char* kBefore[] = {"number", "mobile", "officephone", "homephone", "fax",
                                              "email1", "email2", "qq",          "msn"};
    static constexpr const char* kAfterSex[] = {"nation", "important", "credit", "branch", "duty"};
    static constexpr const char* kAfterBirthday[] = {
        "like",   "education", "technical", "id",   "location", "loczip", "address",
        "adrzip", "country",   "province",  "city", "holiday",  "remark"};
    auto text = [&recordset](const char* field) {
        QString value;
        recordset.GetFieldText(QString::fromLatin1(field), value);
        return value;
    };

    std::vector<CListRow> rows;
    const int count = recordset.GetRecordCount();
    rows.reserve(size_t(std::max(count, 0)));
    if (count >= 1)
        recordset.MoveFirst();
    for (int i = 0; i < count; ++i) {
        QStringList cells;
        cells.reserve(32);
        cells << text("name") << clientName;
        for (const char* field : kBefore)
            cells << text(field);
        int sex = 0;
        recordset.GetFieldInt(u"sex"_s, sex);
        cells << (sex != 0 ? u"女"_s : u"男"_s);
        for (const char* field : kAfterSex)
            cells << text(field);
        QDateTime birthday;
        recordset.GetFieldDate(u"birthday"_s, birthday);
        cells << DateText(birthday);
        for (const char* field : kAfterBirthday)
            cells << text(field);
        int no = 0;
        recordset.GetFieldInt(u"no"_s, no);
        cells << FormatNumber(no);
        rows.push_back(CListRow{std::move(cells), 0});
        recordset.MoveNext();
    }
    list.AppendRows(std::move(rows));
}

void CVantrelView::ShowPayments(int row)
{
    int number = 0;
    List().RecordNumber(row, number);
    CMiddleListView* lower = Document().MiddleList();
    if (!lower)
        return;
    CRecordListModel& list = lower->List();
    list.DeleteAllItems();
    const QString sql = (m_nCategory == RecordCategory::kPurchases
                             ? u"SELECT * FROM inputdetail WHERE [paper] = %1 ORDER BY date"_s
                             : u"SELECT * FROM outputdetail WHERE [paper] = %1 ORDER BY date"_s)
                            .arg(number);
    CADORecordset recordset(Document().Database());
    if (recordset.Open(sql)) {
        lower->SetCurrentQuery(sql);
        std::vector<CListRow> rows;
        const int count = recordset.GetRecordCount();
        if (count >= 1)
            recordset.MoveFirst();
        for (int i = 0; i < count; ++i) {
            QDateTime date;
            double amount = 0.0;
            double sum = 0.0;
            QString person, taster, detail, remark;
            int no = 0;
            recordset.GetFieldDate(u"date"_s, date);
            recordset.GetFieldDouble(u"number"_s, amount);
            recordset.GetFieldDouble(u"sum"_s, sum);
            recordset.GetFieldText(u"person"_s, person);
            recordset.GetFieldText(u"taster"_s, taster);
            recordset.GetFieldText(u"detail"_s, detail);
            recordset.GetFieldText(u"remark"_s, remark);
            recordset.GetFieldInt(u"no"_s, no);
            rows.push_back(CListRow{{DateText(date), FormatAmount(amount), FormatAmount(sum),
                                     person, taster, detail, remark, FormatNumber(no)},
                                    0});
            recordset.MoveNext();
        }
        list.AppendRows(std::move(rows));
    }
    AppendPaymentTotals(list);
}

void CVantrelView::ShowText(int row, int column)
{
    if (CNoteView* text = Document().NoteView())
        text->SetText(CutToBytes(List().GetItemText(row, column), kTextViewLimit));
}

bool CVantrelView::CanAdd() const
{
    const std::optional<RecordDialog> dialog = DialogOf(m_nCategory);
    return dialog && Document().Dialogs().Has(*dialog);
}

bool CVantrelView::CanEdit() const
{
    return CanAdd();
}

bool CVantrelView::CanDelete() const
{
    // Only lists of records of the data file can be deleted from: area codes and statistics
    // rows carry no record number.
    return DialogOf(m_nCategory).has_value();
}

void CVantrelView::RowDeleted()
{
    if (IsOrderList() && HasTotalsRow(List()))
        UpdateOrderTotals(List());
}

void CVantrelView::OnRecordAdd()
{
    const std::optional<RecordDialog> dialog = DialogOf(m_nCategory);
    if (!dialog)
        return;
    CRecordRequest request;
    request.dialog = *dialog;
    Document().Dialogs().Open(request, this);
}

void CVantrelView::OnRecordEdit()
{
    const int row = CurrentRow();
    const std::optional<RecordDialog> dialog = DialogOf(m_nCategory);
    if (row < 0 || !dialog || !Document().Dialogs().Has(*dialog))
        return;
    int number = 0;
    List().RecordNumber(row, number);
    switch (m_nCategory) {
    case RecordCategory::kClients:
        EditRecord(*dialog, u"SELECT * FROM client WHERE [no] = %1"_s.arg(number),
                   u"客户表无法打开！"_s, row, number);
        break;
    case RecordCategory::kPurchases:
        if (!IsTotalsRow(row))
            EditRecord(*dialog,
                       u"SELECT * FROM inputdata WHERE [no] = %1 ORDER BY date"_s.arg(number),
                       u"采购表无法打开！"_s, row, number);
        break;
    case RecordCategory::kSales:
        if (!IsTotalsRow(row))
            EditRecord(*dialog,
                       u"SELECT * FROM outputdata WHERE [no] = %1 ORDER BY date"_s.arg(number),
                       u"销售表无法打开！"_s, row, number);
        break;
    case RecordCategory::kNotes:
        EditRecord(*dialog, u"SELECT * FROM notepaper WHERE [no] = %1"_s.arg(number),
                   u"便笺表无法打开！"_s, row, number);
        break;
    case RecordCategory::kAppointments:
        // Appointments are edited in their own dialog, opened by the frame's command with its
        // permission test.
        Document().PostCommand(ID_MANAGE_APPOINT);
        break;
    case RecordCategory::kReminders:
        EditRecord(*dialog, u"SELECT * FROM notice WHERE [no] = %1"_s.arg(number),
                   u"提醒表无法打开！"_s, row, number);
        break;
    case RecordCategory::kAddressBook:
        EditRecord(*dialog,
                   u"SELECT * FROM [address] WHERE [no] = %1 ORDER BY group, user"_s.arg(number),
                   u"通讯录表无法打开！"_s, row, number);
        break;
    default:
        break;
    }
}

void CVantrelView::EditRecord(RecordDialog dialog, const QString& sql, const QString& failure,
                              int row, int number)
{
    CRecordRequest request;
    {
        CADORecordset recordset(Document().Database());
        // A record that is gone (deleted elsewhere since the list was filled) cannot be
        // modified either.
        if (!OpenFirstRow(recordset, sql)) {
            Inform(this, failure);
            return;
        }
        request.fields = ReadFields(recordset, FieldsOf(dialog));
    }
    request.dialog = dialog;
    request.modify = true;
    request.no = number;
    request.item = row;
    Document().Dialogs().Open(request, this);
}

#include "customers/importplan.h"

#include "customers/attributekinds.h"
#include "customers/clientfields.h"
#include "customers/linkmandlg.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/importtable.h"
#include "data/recordnumber.h"
#include "data/sqltext.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// Rows of each reason the report names by their line.
constexpr size_t kLinesShown = 10;

// ASCII letters in one case, as the data file's comparisons of text see them.
QString Folded(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(u - u'a' + u'A');
    }
    return folded;
}

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

// 0 男, 1 女; -1 when the text says neither.
int SexOf(const QString& text)
{
    const QString lower = text.toLower();
    if (lower.isEmpty() || lower == u"男"_s || lower == u"m"_s || lower == u"male"_s ||
        lower == u"先生"_s || lower == u"0"_s)
        return 0;
    if (lower == u"女"_s || lower == u"f"_s || lower == u"female"_s || lower == u"女士"_s ||
        lower == u"1"_s)
        return 1;
    return -1;
}

// A birthday as the contact dialog takes it: year 1900 to 2050, month 1 to 12, day 1 to 31,
// a day its month lacks becoming the month's last; empty is the dialog's 1900-1-1. Invalid
// when the text is no date.
QDate BirthdayOf(const QString& text)
{
    if (text.isEmpty())
        return CLinkmanDlg::BirthdayDate(1900, 1, 1);
    static const QRegularExpression separated(
        uR"(^(\d{4})\s*[-/.年]\s*(\d{1,2})\s*[-/.月]\s*(\d{1,2})\s*日?(\s+\d{1,2}:\d{1,2}(:\d{1,2})?)?$)"_s);
    static const QRegularExpression packed(u"^(\\d{4})(\\d{2})(\\d{2})$"_s);
    QRegularExpressionMatch match = separated.match(text);
    if (!match.hasMatch())
        match = packed.match(text);
    if (!match.hasMatch())
        return {};
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (year < 1900 || year > 2050 || month < 1 || month > 12 || day < 1 || day > 31)
        return {};
    return CLinkmanDlg::BirthdayDate(year, month, day);
}

// The dictionaries an import feeds, by field, as the kind's dialog feeds them.
struct FedDictionary
{
    int field;     // among ImportFields
    QString table; // the dictionary table
};

std::vector<FedDictionary> FedDictionaries(ImportKind kind)
{
    std::vector<FedDictionary> fed;
    if (kind == ImportKind::Clients) {
        for (const char* field : kFedClientFields)
            for (const AttributeKind& attribute : AttributeKinds())
                if (qstrcmp(attribute.field, field) == 0)
                    fed.push_back({ImportFieldIndex(kind, field), KindTable(attribute)});
    } else {
        for (const char* field : {"important", "credit", "country", "province", "city"})
            fed.push_back({ImportFieldIndex(kind, field), Latin(field)});
    }
    return fed;
}

} // namespace

QString ImportSkipText(ImportKind kind, ImportSkip skip)
{
    const bool clients = kind == ImportKind::Clients;
    switch (skip) {
    case ImportSkip::ExtraColumns:
        return u"列数多于标题行"_s;
    case ImportSkip::EmptyName:
        return clients ? u"客户名称为空"_s : u"联系人姓名为空"_s;
    case ImportSkip::QuoteOrBracket:
        return u"客户名称或编号含有',\",[,]等符号"_s;
    case ImportSkip::TooLong:
        return u"内容超过字段长度"_s;
    case ImportSkip::BadValue:
        return u"性别或生日无法识别"_s;
    case ImportSkip::NoClient:
        return u"所属客户不存在"_s;
    case ImportSkip::NameExists:
        return clients ? u"客户名称已经存在"_s : u"客户所属联系人姓名已经存在"_s;
    case ImportSkip::NumberExists:
        return clients ? u"客户编号已经存在"_s : u"客户所属联系人编号已经存在"_s;
    case ImportSkip::RepeatedInFile:
        return u"名称或编号与文件中前面的行重复"_s;
    case ImportSkip::Count:
        break;
    }
    return {};
}

CImportPlan::CImportPlan(ImportKind kind, CADODatabase* database) : m_kind(kind), m_db(database) {}

int CImportPlan::SkippedCount() const
{
    int count = 0;
    for (const auto& lines : m_skipped)
        count += int(lines.size());
    return count;
}

bool CImportPlan::ReadExisting()
{
    m_names.clear();
    m_numbers.clear();
    m_clients.clear();
    CADORecordset clients(m_db);
    if (!clients.OpenForward(u"SELECT [no], [name], [number] FROM client"_s))
        return false;
    const int noAt = clients.GetFieldIndex(u"no"_s);
    const int nameAt = clients.GetFieldIndex(u"name"_s);
    const int numberAt = clients.GetFieldIndex(u"number"_s);
    const bool ofClients = m_kind == ImportKind::Clients;
    ForEachRow(clients, [&] {
        QString name;
        clients.GetFieldText(nameAt, name);
        if (ofClients) {
            QString number;
            clients.GetFieldText(numberAt, number);
            m_names.insert(Folded(name));
            if (!number.isEmpty())
                m_numbers.insert(Folded(number));
            return;
        }
        int no = -1;
        clients.GetFieldInt(noAt, no);
        // The contact dialog takes the first client of a name in its list, ordered by name
        // and then number.
        const auto held = m_clients.find(name);
        if (held == m_clients.end())
            m_clients.insert(name, no);
        else if (no < *held)
            *held = no;
    });
    if (!clients.WalkSucceeded())
        return false;
    if (ofClients)
        return true;

    CADORecordset contacts(m_db);
    if (!contacts.OpenForward(u"SELECT [client], [name], [number] FROM linkman"_s))
        return false;
    const int clientAt = contacts.GetFieldIndex(u"client"_s);
    const int contactNameAt = contacts.GetFieldIndex(u"name"_s);
    const int contactNumberAt = contacts.GetFieldIndex(u"number"_s);
    ForEachRow(contacts, [&] {
        int client = 0;
        QString name;
        QString number;
        contacts.GetFieldInt(clientAt, client);
        contacts.GetFieldText(contactNameAt, name);
        contacts.GetFieldText(contactNumberAt, number);
        const QString owner = QString::number(client) + u'\t';
        m_names.insert(owner + Folded(name));
        if (!number.isEmpty())
            m_numbers.insert(owner + Folded(number));
    });
    return contacts.WalkSucceeded();
}

bool CImportPlan::Plan(const ImportTable& table, const std::vector<int>& fields)
{
    m_rows.clear();
    m_fileNames.clear();
    m_fileNumbers.clear();
    for (auto& lines : m_skipped)
        lines.clear();
    if (!ReadExisting())
        return false;
    if (table.rows.empty())
        return true;
    const int headerColumns = int(table.rows.front().size());
    m_rows.reserve(table.rows.size() - 1);
    for (size_t row = 1; row < table.rows.size(); ++row)
        PlanRow(table.rows[row], headerColumns, fields, int(row) + 1);
    return true;
}

void CImportPlan::PlanRow(const QStringList& cells, int headerColumns,
                          const std::vector<int>& fields, int line)
{
    auto skip = [&](ImportSkip reason) { m_skipped[size_t(reason)].push_back(line); };
    if (cells.size() > headerColumns) {
        skip(ImportSkip::ExtraColumns);
        return;
    }
    const auto described = ImportFields(m_kind);
    ImportRow row;
    row.values.resize(qsizetype(described.size()));
    bool tooLong = false;
    for (qsizetype column = 0; column < cells.size() && column < qsizetype(fields.size());
         ++column) {
        const int field = fields[size_t(column)];
        if (field < 0 || field >= int(described.size()))
            continue;
        const QString value = cells[column].trimmed();
        tooLong = tooLong || value.size() > described[size_t(field)].maxLength;
        row.values[field] = value;
    }
    const int nameAt = ImportFieldIndex(m_kind, "name");
    const int numberAt = ImportFieldIndex(m_kind, "number");
    const QString& name = row.values[nameAt];
    const QString& number = row.values[numberAt];
    if (name.isEmpty()) {
        skip(ImportSkip::EmptyName);
        return;
    }
    const bool clients = m_kind == ImportKind::Clients;
    if (clients && (HasQuoteOrBracket(name) || HasQuoteOrBracket(number))) {
        skip(ImportSkip::QuoteOrBracket);
        return;
    }
    if (tooLong) {
        skip(ImportSkip::TooLong);
        return;
    }
    QString owner;
    if (!clients) {
        row.sex = SexOf(row.values[ImportFieldIndex(m_kind, "sex")]);
        row.birthday = BirthdayOf(row.values[ImportFieldIndex(m_kind, "birthday")]);
        if (row.sex < 0 || !row.birthday.isValid()) {
            skip(ImportSkip::BadValue);
            return;
        }
        const auto client = m_clients.constFind(row.values[ImportFieldIndex(m_kind, "client")]);
        if (client == m_clients.cend()) {
            skip(ImportSkip::NoClient);
            return;
        }
        row.client = *client;
        owner = QString::number(row.client) + u'\t';
    }
    const QString nameKey = owner + Folded(name);
    const QString numberKey = number.isEmpty() ? QString() : owner + Folded(number);
    if (m_names.contains(nameKey)) {
        skip(ImportSkip::NameExists);
        return;
    }
    if (!numberKey.isEmpty() && m_numbers.contains(numberKey)) {
        skip(ImportSkip::NumberExists);
        return;
    }
    if (m_fileNames.contains(nameKey) ||
        (!numberKey.isEmpty() && m_fileNumbers.contains(numberKey))) {
        skip(ImportSkip::RepeatedInFile);
        return;
    }
    m_fileNames.insert(nameKey);
    if (!numberKey.isEmpty())
        m_fileNumbers.insert(numberKey);
    m_rows.push_back(std::move(row));
}

QString CImportPlan::Report() const
{
    QString report = u"将添加 %1 行，跳过 %2 行。"_s.arg(m_rows.size()).arg(SkippedCount());
    for (size_t reason = 0; reason < m_skipped.size(); ++reason) {
        const std::vector<int>& lines = m_skipped[reason];
        if (lines.empty())
            continue;
        QStringList shown;
        for (size_t i = 0; i < lines.size() && i < kLinesShown; ++i)
            shown << QString::number(lines[i]);
        report += u"\n%1：%2 行（第 %3%4 行）"_s.arg(
            ImportSkipText(m_kind, ImportSkip(reason)), QString::number(lines.size()),
            shown.join(u"、"_s), lines.size() > kLinesShown ? u"…"_s : QString());
    }
    return report;
}

bool CImportPlan::Import(const ImportTable& table, const std::vector<int>& fields, int& first,
                         int& last, QString& failure)
{
    first = -1;
    last = -1;
    if (!m_db || !m_db->BeginTransaction()) {
        failure = u"数据文件正被其他程序使用，无法导入，请稍后再试！"_s;
        return false;
    }
    auto fail = [&](const QString& why) {
        m_db->RollbackTransaction();
        failure = why;
        return false;
    };
    if (!Plan(table, fields))
        return fail(u"无法读取已有的资料，没有导入任何数据。"_s);
    if (m_rows.empty())
        return fail(u"没有可以导入的行。"_s);
    CADORecordset counter(m_db);
    const TakenNumber taken = TakeRecordNumbersInTransaction(
        counter, m_kind == ImportKind::Clients ? RecordKind::Client : RecordKind::Linkman,
        int(m_rows.size()));
    if (!taken.Ok())
        return fail(taken.failure);
    QString why;
    if (!WriteRows(taken.number, why) || !FeedDictionaries(why))
        return fail(u"导入失败，没有导入任何数据。%1"_s.arg(why));
    if (!m_db->CommitTransaction())
        return fail(u"导入失败，没有导入任何数据。%1"_s.arg(m_db->GetLastErrorDescription()));
    first = taken.number;
    last = taken.number + int(m_rows.size()) - 1;
    return true;
}

bool CImportPlan::WriteRows(int first, QString& failure)
{
    const bool clients = m_kind == ImportKind::Clients;
    const QString table = clients ? u"client"_s : u"linkman"_s;
    CADORecordset recordset(m_db);
    // No row is read: the recordset only adds.
    if (!recordset.Open(u"SELECT * FROM %1 WHERE [no] = -1"_s.arg(table))) {
        failure = recordset.GetLastErrorDescription();
        return false;
    }
    recordset.KeepNoAddedRows();
    const auto described = ImportFields(m_kind);
    std::vector<QString> columns;
    for (const ImportField& field : described)
        columns.push_back(Latin(field.field));
    int no = first;
    for (const ImportRow& row : m_rows) {
        bool written = recordset.AddNew() && recordset.SetFieldInt(u"no"_s, no++);
        for (size_t f = 0; written && f < described.size(); ++f) {
            switch (described[f].value) {
            case ImportField::Text:
                written = recordset.SetFieldText(columns[f], row.values[qsizetype(f)]);
                break;
            case ImportField::Sex:
                written = recordset.SetFieldInt(columns[f], row.sex);
                break;
            case ImportField::Birthday:
                written = recordset.SetFieldDate(columns[f], QDateTime(row.birthday, QTime(0, 0)));
                break;
            case ImportField::Client:
                written = recordset.SetFieldInt(columns[f], row.client);
                break;
            }
        }
        if (!written || !recordset.Update()) {
            failure = recordset.GetLastErrorDescription();
            recordset.CancelUpdate();
            return false;
        }
    }
    return true;
}

bool CImportPlan::FeedDictionaries(QString& failure)
{
    // The client dialog finds a value with "=", which ignores the case of ASCII letters; the
    // contact dialog compares the texts exactly.
    const bool folded = m_kind == ImportKind::Clients;
    for (const FedDictionary& dictionary : FedDictionaries(m_kind)) {
        CADORecordset recordset(m_db);
        if (!recordset.Open(u"SELECT * FROM %1 WHERE [name] = ''"_s.arg(dictionary.table)))
            continue; // as the dialogs skip a dictionary that does not open
        recordset.KeepNoAddedRows();
        QSet<QString> held;
        {
            CADORecordset values(m_db);
            if (!values.OpenForward(u"SELECT [name] FROM %1"_s.arg(dictionary.table)))
                continue;
            ForEachRow(values, [&] {
                QString value;
                values.GetFieldText(0, value);
                held.insert(folded ? Folded(value) : value);
            });
        }
        for (const ImportRow& row : m_rows) {
            const QString& value = row.values[dictionary.field];
            if (value.isEmpty())
                continue;
            const QString key = folded ? Folded(value) : value;
            if (held.contains(key))
                continue;
            held.insert(key);
            if (!recordset.AddNew() || !recordset.SetFieldText(u"name"_s, value) ||
                !recordset.Update()) {
                failure = recordset.GetLastErrorDescription();
                recordset.CancelUpdate();
                return false;
            }
        }
    }
    return true;
}

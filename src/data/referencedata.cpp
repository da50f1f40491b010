#include "data/referencedata.h"

#include "data/citycodes.h"
#include "data/sqlite/filesafety.h"

#include <QFile>

#include <sqlite3.h>

#include <array>

using namespace Qt::StringLiterals;
using namespace vantrel::filesafety;

namespace {

struct SourceColumn
{
    const char16_t* title; // as the CSV header names it
    const char* column;    // of the reference table
};

struct Source
{
    QString ReferenceSources::*file;
    const char* table;
    std::array<SourceColumn, 4> columns; // a null title ends the list
};

const Source kSources[] = {
    {&ReferenceSources::domestic,
     "section1",
     {{{u"省份", "province"}, {u"城市", "city"}, {u"邮编", "zip"}, {u"区号", "sections"}}}},
    {&ReferenceSources::international,
     "section2",
     {{{u"洲", "continent"}, {u"国家及地区", "country"}, {u"区号", "sections"}, {}}}},
    {&ReferenceSources::services,
     "service",
     {{{u"名称", "name"}, {u"号码", "number"}, {u"说明", "remark"}, {}}}},
};

QStringList Titles(const Source& source)
{
    QStringList titles;
    for (const SourceColumn& column : source.columns)
        if (column.title)
            titles << QString::fromUtf16(column.title);
    return titles;
}

QString InsertStatement(const Source& source)
{
    QStringList names;
    QStringList places;
    for (const SourceColumn& column : source.columns) {
        if (!column.title)
            continue;
        names << u'"' + QString::fromLatin1(column.column) + u'"';
        places << u"?"_s;
    }
    return u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(QString::fromLatin1(source.table),
                                                        names.join(u", "_s), places.join(u", "_s));
}

bool Insert(sqlite3* db, const Source& source, const CsvTable& table, QString& error)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray sql = InsertStatement(source).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK) {
        error = LastError(db);
        return false;
    }
    const Statement insert(raw);
    for (const QStringList& row : table.rows) {
        sqlite3_reset(insert.get());
        for (int field = 0; field < row.size(); ++field) {
            const QByteArray text = row[field].toUtf8();
            if (text.isEmpty())
                sqlite3_bind_null(insert.get(), field + 1);
            else
                sqlite3_bind_text(insert.get(), field + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
        }
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            error = LastError(db);
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<CsvTable> ParseCsv(const QString& text, QString* error)
{
    std::vector<QStringList> lines;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool lineHasText = false;
    int line = 1;
    const auto endField = [&] {
        fields << field;
        field.clear();
    };
    const auto endLine = [&] {
        endField();
        if (lineHasText)
            lines.push_back(fields);
        fields.clear();
        lineHasText = false;
    };
    qsizetype i = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            lineHasText = true;
        } else if (c == u',') {
            endField();
            lineHasText = true;
        } else if (c == u'\n') {
            endLine();
            ++line;
        } else if (c != u'\r') {
            field += c;
            lineHasText = true;
        }
    }
    if (quoted) {
        if (error)
            *error = u"line %1: a quoted field is not closed"_s.arg(line);
        return std::nullopt;
    }
    endLine();
    if (lines.empty()) {
        if (error)
            *error = u"no header"_s;
        return std::nullopt;
    }
    CsvTable table;
    table.header = lines.front();
    for (size_t row = 1; row < lines.size(); ++row) {
        if (lines[row].size() != table.header.size()) {
            if (error)
                *error = u"row %1 has %2 fields, the header %3"_s.arg(row)
                             .arg(lines[row].size())
                             .arg(table.header.size());
            return std::nullopt;
        }
        table.rows.push_back(lines[row]);
    }
    return table;
}

std::optional<CsvTable> ReadCsv(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + u": "_s + file.errorString();
        return std::nullopt;
    }
    QString why;
    std::optional<CsvTable> table = ParseCsv(QString::fromUtf8(file.readAll()), &why);
    if (!table && error)
        *error = path + u": "_s + why;
    return table;
}

bool FillReferenceFile(const QString& path, const ReferenceSources& sources, QString* error)
{
    QString why;
    const auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    std::vector<CsvTable> tables;
    for (const Source& source : kSources) {
        const QString& file = sources.*source.file;
        std::optional<CsvTable> table = ReadCsv(file, &why);
        if (!table)
            return failed(why);
        if (table->header != Titles(source))
            return failed(u"%1: the header is \"%2\", not \"%3\""_s.arg(
                file, table->header.join(u','), Titles(source).join(u',')));
        tables.push_back(std::move(*table));
    }
    // kSources begins with the domestic places, whose cities take their city-wide codes.
    std::optional<CsvTable> cities = ReadCsv(sources.cities, &why);
    if (!cities)
        return failed(why);
    if (const QStringList faults = CheckCityCodes(tables.front(), *cities); !faults.isEmpty())
        return failed(faults.join(u'\n'));
    tables.front().rows = WithCityCodes(tables.front(), *cities);
    const Database db = OpenFile(path, SQLITE_OPEN_READWRITE, why);
    if (!db)
        return failed(why);
    if (!Exec(db.get(), "BEGIN IMMEDIATE", why))
        return failed(why);
    for (size_t i = 0; i < tables.size(); ++i) {
        if (!Insert(db.get(), kSources[i], tables[i], why)) {
            QString ignored;
            Exec(db.get(), "ROLLBACK", ignored);
            return failed(path + u": "_s + why);
        }
    }
    if (!Exec(db.get(), "COMMIT", why)) {
        QString ignored;
        Exec(db.get(), "ROLLBACK", ignored);
        return failed(why);
    }
    return true;
}

#pragma once

#include "customers/importfields.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class CADODatabase;
struct ImportTable;

// Why a row of a spreadsheet is not imported, in the order the rows are tested.
enum class ImportSkip {
    ExtraColumns,   // text beyond the header's last column
    EmptyName,      // no name
    QuoteOrBracket, // ' " [ ] in a client's name or number, which the client dialog refuses
    TooLong,        // a cell longer than its field
    BadValue,       // a sex or birthday that reads as none
    NoClient,       // a contact of a client the data does not hold
    NameExists,     // the data holds the name (a contact's: within its client)
    NumberExists,   // the data holds the number
    RepeatedInFile, // an earlier row of the file has the name or number
    Count
};

// What a skip reason says in the report.
QString ImportSkipText(ImportKind kind, ImportSkip skip);

// One row the import adds: its values by field (ImportFields), with a contact's client as its
// number, its sex as 0 or 1 and its birthday as a date.
struct ImportRow
{
    QStringList values;
    int client = -1;
    int sex = 0;
    QDate birthday;
};

// The rows of a spreadsheet that an import adds, and the rows it skips with their reasons,
// under the rules the client and contact dialogs apply to one record: a client's name and
// number must not hold ' " [ ], a contact's client must exist; a name or number already held
// (a contact's within its client) or earlier in the file is a duplicate, letters compared
// without regard to the case of ASCII letters, as the data file compares them. What the
// dialogs ask about, an import skips.
class CImportPlan
{
public:
    CImportPlan(ImportKind kind, CADODatabase* database);

    // Plans the rows below the header of `table`; `fields` gives each file column's field
    // (ImportFields; -1: not imported). False when the data could not be read.
    bool Plan(const ImportTable& table, const std::vector<int>& fields);

    ImportKind Kind() const { return m_kind; }
    const std::vector<ImportRow>& Rows() const { return m_rows; }
    int SkippedCount() const;
    int SkippedCount(ImportSkip skip) const { return int(m_skipped[size_t(skip)].size()); }
    // The file's line numbers of the rows skipped for a reason (the header is line 1).
    const std::vector<int>& SkippedLines(ImportSkip skip) const { return m_skipped[size_t(skip)]; }
    // "将添加 N 行，跳过 M 行。" and a line per reason with the first rows it skips.
    QString Report() const;

    // Adds the planned rows in one transaction, numbered from the kind's counter, and feeds
    // the dictionaries the new attribute values as the dialog does: all or nothing. The plan
    // is made again inside the transaction first, so rows another workstation added since are
    // seen. On success `first` and `last` are the numbers given; on failure `failure` says why
    // and nothing was changed.
    bool Import(const ImportTable& table, const std::vector<int>& fields, int& first, int& last,
                QString& failure);

private:
    bool ReadExisting();
    void PlanRow(const QStringList& cells, int headerColumns, const std::vector<int>& fields,
                 int line);
    bool WriteRows(int first, QString& failure);
    bool FeedDictionaries(QString& failure);

    ImportKind m_kind;
    CADODatabase* m_db;
    std::vector<ImportRow> m_rows;
    std::array<std::vector<int>, size_t(ImportSkip::Count)> m_skipped;
    // Held names and numbers, folded; a contact's behind its client's number and a tab.
    QSet<QString> m_names;
    QSet<QString> m_numbers;
    // The same of the rows planned so far.
    QSet<QString> m_fileNames;
    QSet<QString> m_fileNumbers;
    // A client's number by its exact name: the first client of that name.
    QHash<QString, int> m_clients;
};

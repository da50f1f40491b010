#pragma once

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

// What a spreadsheet's columns may be imported as: the fields of a client or of a contact,
// each with the column headers it is known by in Chinese and English spreadsheets.

enum class ImportKind { Clients, Contacts };

struct ImportField
{
    enum Value {
        Text,     // stored as it is
        Sex,      // 男/女, M/F, male/female
        Birthday, // a date: 2024-3-5, 2024/3/5, 2024年3月5日, 20240305
        Client,   // the owning client's name, stored as its number
    };

    const char* field;     // the column of `client` or `linkman`
    const char16_t* label; // as the dialogs label it
    int maxLength;         // characters a value may have
    Value value = Text;
    // Headers that name the field, besides its label: compared without blanks, colons,
    // "-", "_" or "." and without regard to the case of ASCII letters.
    std::span<const char16_t* const> headers = {};
};

std::span<const ImportField> ImportFields(ImportKind kind);
// The place of a column of `client` or `linkman` among the kind's fields; -1 when none.
int ImportFieldIndex(ImportKind kind, const char* field);

// A header as the suggestions compare it.
QString NormalizedHeader(const QString& header);
// The field each column of the header row suggests (-1: not imported). A field goes to the
// first column that names it; two columns of one name (邮编 beside each address of a contact)
// go to the fields of that name in order.
std::vector<int> SuggestImportFields(ImportKind kind, const QStringList& header);

#pragma once

#include <QString>

#include <array>

// The eleven attributes that classify a client. Each has a dictionary table of suggested
// values (one text column `name`) and the column of `client` that stores the value itself;
// the dictionaries only offer suggestions, so changing them never touches a client.
struct AttributeKind
{
    const char16_t* label; // as the lists and the query name it
    const char* table;     // the dictionary table
    const char* field;     // the column of `client`
};

inline constexpr int kAttributeKindCount = 11;

// In list order: 性质, 类别, 行业, 重要度, 信誉, 国家, 省, 市, 所属业务员, 员工人数, 年营业额.
const std::array<AttributeKind, kAttributeKindCount>& AttributeKinds();

QString KindLabel(const AttributeKind& kind);
QString KindTable(const AttributeKind& kind);
QString KindField(const AttributeKind& kind);

// "SELECT * FROM <table> ORDER BY [name]": the dictionary's values in the users' sort order.
QString DictionaryStatement(const AttributeKind& kind);
// "SELECT * FROM <table> WHERE [name] = '<value>' ORDER BY [name]": the rows holding a value.
QString DictionaryValueStatement(const AttributeKind& kind, const QString& value);

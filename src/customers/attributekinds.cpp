#include "customers/attributekinds.h"

#include "data/sqltext.h"

using namespace Qt::StringLiterals;

const std::array<AttributeKind, kAttributeKindCount>& AttributeKinds()
{
    static constexpr std::array<AttributeKind, kAttributeKindCount> kinds = {{
        {u"性质", "client_property", "property"},
        {u"类别", "client_type", "type"},
        {u"行业", "client_vocation", "vocation"},
        {u"重要度", "important", "important"},
        {u"信誉", "credit", "credit"},
        {u"国家", "country", "country"},
        {u"省", "province", "province"},
        {u"市", "city", "city"},
        {u"所属业务员", "operator", "operator"},
        {u"员工人数", "people", "people"},
        {u"年营业额", "turnover", "turnover"},
    }};
    return kinds;
}

QString KindLabel(const AttributeKind& kind)
{
    return QString::fromUtf16(kind.label);
}

QString KindTable(const AttributeKind& kind)
{
    return QString::fromLatin1(kind.table);
}

QString KindField(const AttributeKind& kind)
{
    return QString::fromLatin1(kind.field);
}

QString DictionaryStatement(const AttributeKind& kind)
{
    return u"SELECT * FROM "_s + KindTable(kind) + u" ORDER BY [name]"_s;
}

QString DictionaryValueStatement(const AttributeKind& kind, const QString& value)
{
    return u"SELECT * FROM %1 WHERE [name] = '%2' ORDER BY [name]"_s.arg(KindTable(kind),
                                                                         SqlText(value));
}

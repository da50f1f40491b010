#include "data/postgres/pgdialect.h"

#include "data/jetsql.h"

using namespace Qt::StringLiterals;

namespace vantrel::postgres {
namespace {

class PgDialect final : public db::Dialect
{
public:
    QString RowIdentity() const override { return QLatin1StringView(kRowIdentity); }
    QString ReturningRow() const override
    {
        return u" RETURNING "_s + QLatin1StringView(kRowIdentity) + u", *"_s;
    }
    QString SameValue(const QString& column) const override
    {
        return column + u" IS NOT DISTINCT FROM ?"_s;
    }
    QString HoldsBytes(const QString& column) const override
    {
        return u"pg_typeof(%1) = 'bytea'::regtype"_s.arg(column);
    }
    // Text columns are citext: = , <>, IN and LIKE ignore letter case by themselves.
    QString CaseBlind() const override { return {}; }
    bool NarrowsCaseBlindEquality() const override { return false; }
    // The code-page bytes of the text, made by a function of the schema (pgcatalogue.h).
    QString TextOrder(const QString& expression) const override
    {
        return QLatin1StringView(kOrderKeyFunction) + u'(' + expression + u')';
    }
    QString NullOrder(bool descending) const override
    {
        return descending ? u" NULLS LAST"_s : u" NULLS FIRST"_s;
    }
    // A backslash would escape the next character of the pattern.
    QString LikeEscape() const override { return u" ESCAPE ''"_s; }
    QString DateLiteral(const QDate& date, const QTime& time) const override
    {
        return u"TIMESTAMP '"_s + jetsql::StoredDateTime(date, time) + u'\'';
    }
    // The initials of a name are kept beside it, in a column the program fills on each write.
    QString InitialsOf(const QString& expression) const override
    {
        QString column = expression.trimmed();
        if (column.startsWith(u'"') && column.endsWith(u'"') && column.size() > 1)
            column = column.mid(1, column.size() - 2);
        return u'"' + column.toLower() + QLatin1StringView(jetsql::kInitialsSuffix) + u'"';
    }
    bool StoresInitials() const override { return true; }
    QString OrderedJoin() const override { return u"CROSS JOIN"_s; }
    bool FoldsNames() const override { return true; }
};

} // namespace

const db::Dialect& Dialect()
{
    static const PgDialect dialect;
    return dialect;
}

} // namespace vantrel::postgres

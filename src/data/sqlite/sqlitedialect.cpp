#include "data/sqlite/sqlitedialect.h"

#include "data/jetsql.h"
#include "data/pinyin.h"

using namespace Qt::StringLiterals;

namespace vantrel::sqlite {
namespace {

class SqliteDialect final : public db::Dialect
{
public:
    QString RowIdentity() const override { return u"rowid"_s; }
    QString ReturningRow() const override { return u" RETURNING rowid, *"_s; }
    QString SameValue(const QString& column) const override { return column + u" IS ?"_s; }
    QString HoldsBytes(const QString& column) const override
    {
        return u"typeof(%1) = 'blob'"_s.arg(column);
    }
    QString CaseBlind() const override { return u" COLLATE NOCASE"_s; }
    // NOCASE folds ASCII letters only, so every spelling lies between the two forms.
    bool NarrowsCaseBlindEquality() const override { return true; }
    QString TextOrder(const QString& expression) const override
    {
        return expression + u" COLLATE "_s + QLatin1StringView(kCollation);
    }
    QString NullOrder(bool) const override { return {}; }
    QString LikeEscape() const override { return {}; }
    // Dates are stored as zero-padded text, so comparing texts compares dates.
    QString DateLiteral(const QDate& date, const QTime& time) const override
    {
        return u'\'' + jetsql::StoredDateTime(date, time) + u'\'';
    }
    QString InitialsOf(const QString& expression) const override
    {
        return QLatin1StringView(kInitialsFunction) + u'(' + expression + u')';
    }
    // SQLite's planner keeps the tables of a CROSS JOIN in the order written.
    bool StoresInitials() const override { return false; }
    QString OrderedJoin() const override { return u"CROSS JOIN"_s; }
    // SQLite matches quoted names whatever their case.
    bool FoldsNames() const override { return false; }
};

} // namespace

const db::Dialect& Dialect()
{
    static const SqliteDialect dialect;
    return dialect;
}

} // namespace vantrel::sqlite

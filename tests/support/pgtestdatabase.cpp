#include "support/pgtestdatabase.h"

#include "data/schema.h"
#include "data/storedinitials.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <atomic>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString Environment(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// The tests write their own statements as the program does, with Jet's [name]: here those
// become the schema's lower-case names.
QByteArray ServerSql(const QString& sql)
{
    QString out;
    bool inString = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'')
            inString = !inString;
        if (!inString && c == u'[') {
            const qsizetype end = sql.indexOf(u']', i);
            if (end > i) {
                out += u'"' + sql.mid(i + 1, end - i - 1).toLower() + u'"';
                i = end;
                continue;
            }
        }
        out += c;
    }
    return out.toUtf8();
}

// Runs one command on a connection, failing the test when the server refuses it.
bool Run(pg_conn* db, const QString& sql)
{
    PGresult* result = PQexec(db, ServerSql(sql).constData());
    const ExecStatusType status = PQresultStatus(result);
    const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    if (!ok)
        ADD_FAILURE() << sql.toStdString() << ": " << PQerrorMessage(db);
    PQclear(result);
    return ok;
}

pg_conn* Connect(const QString& database)
{
    pg_conn* db = PQconnectdb(PgTestDatabase::ServerConninfo(database).toUtf8().constData());
    if (PQstatus(db) != CONNECTION_OK) {
        ADD_FAILURE() << "cannot reach the test server ("
                      << PgTestDatabase::ServerConninfo(database).toStdString()
                      << "): " << PQerrorMessage(db);
        PQfinish(db);
        return nullptr;
    }
    PQclear(PQexec(db, "SET client_min_messages = warning"));
    return db;
}

// The tests inspect their databases with a few of SQLite's functions; these give the same
// answers here, so that one test body reads both backends. A real joined to a text is written
// as SQLite writes it ("10.0", not "10"), a truth value as 1 or 0; whole numbers keep their
// plain form beside them.
constexpr char kSqliteFunctions[] = R"(
CREATE FUNCTION typeof(anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN $1 IS NULL THEN 'null'
        WHEN pg_typeof($1) IN ('smallint'::regtype, 'integer'::regtype, 'bigint'::regtype)
            THEN 'integer'
        WHEN pg_typeof($1) IN ('double precision'::regtype, 'real'::regtype,
            'numeric'::regtype) THEN 'real'
        WHEN pg_typeof($1) = 'bytea'::regtype THEN 'blob'
        ELSE 'text' END $$;
CREATE FUNCTION ifnull(anyelement, anyelement) RETURNS anyelement LANGUAGE sql IMMUTABLE
    AS $$ SELECT coalesce($1, $2) $$;
CREATE FUNCTION group_concat_step(text, anyelement, text) RETURNS text LANGUAGE sql IMMUTABLE
    AS $$ SELECT CASE WHEN $2 IS NULL THEN $1 WHEN $1 IS NULL THEN $2::text
        ELSE $1 || $3 || $2::text END $$;
CREATE FUNCTION group_concat_step(text, anyelement) RETURNS text LANGUAGE sql IMMUTABLE
    AS $$ SELECT group_concat_step($1, $2, ',') $$;
CREATE AGGREGATE group_concat(anyelement, text) (SFUNC = group_concat_step, STYPE = text);
CREATE AGGREGATE group_concat(anyelement) (SFUNC = group_concat_step, STYPE = text);
CREATE FUNCTION sqlite_real_text(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT AS $$
    SELECT CASE WHEN $1 = trunc($1) AND abs($1) < 1e15 THEN trunc($1)::bigint::text || '.0'
        ELSE $1::text END $$;
CREATE FUNCTION sqlite_cat(double precision, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT sqlite_real_text($1) || $2 $$;
CREATE FUNCTION sqlite_cat(text, double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1 || sqlite_real_text($2) $$;
CREATE FUNCTION sqlite_cat(smallint, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1::text || $2 $$;
CREATE FUNCTION sqlite_cat(text, smallint) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1 || $2::text $$;
CREATE FUNCTION sqlite_cat(integer, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1::text || $2 $$;
CREATE FUNCTION sqlite_cat(text, integer) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1 || $2::text $$;
CREATE FUNCTION sqlite_cat(bigint, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1::text || $2 $$;
CREATE FUNCTION sqlite_cat(text, bigint) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1 || $2::text $$;
CREATE FUNCTION sqlite_cat(boolean, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1::integer::text || $2 $$;
CREATE FUNCTION sqlite_cat(text, boolean) RETURNS text LANGUAGE sql IMMUTABLE STRICT
    AS $$ SELECT $1 || $2::integer::text $$;
CREATE OPERATOR || (LEFTARG = boolean, RIGHTARG = text, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = text, RIGHTARG = boolean, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = double precision, RIGHTARG = text, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = text, RIGHTARG = double precision, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = smallint, RIGHTARG = text, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = text, RIGHTARG = smallint, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = integer, RIGHTARG = text, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = text, RIGHTARG = integer, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = bigint, RIGHTARG = text, FUNCTION = sqlite_cat);
CREATE OPERATOR || (LEFTARG = text, RIGHTARG = bigint, FUNCTION = sqlite_cat);
)";

constexpr Oid kBool = 16;
constexpr Oid kFloat8 = 701; // double precision

// A value of the first row as SQLite writes it: a real with up to 15 digits and ".0" after a
// whole number, a truth value as 1 or 0.
QString SqliteText(const PGresult* result, int column)
{
    const QByteArrayView text(PQgetvalue(result, 0, column));
    if (PQftype(result, column) == kBool)
        return text == "t" ? u"1"_s : u"0"_s;
    if (PQftype(result, column) != kFloat8)
        return QString::fromUtf8(text);
    const double value = text.toDouble();
    QString real = QString::number(value, 'g', 15);
    if (std::isfinite(value) && !real.contains(u'.') && !real.contains(u'e'))
        real += u".0"_s;
    return real;
}

} // namespace

QString PgTestDatabase::ServerConninfo(const QString& database)
{
    return u"host=%1 port=%2 user=vantrel dbname=%3 connect_timeout=10"_s.arg(
        Environment("VANTREL_TEST_PGHOST", u"127.0.0.1"_s),
        Environment("VANTREL_TEST_PGPORT", u"55432"_s), database);
}

PgTestDatabase::PgTestDatabase()
{
    static std::atomic<int> made{0};
    m_name = u"vantrel_test_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++made);
    pg_conn* server = Connect(u"postgres"_s);
    if (!server)
        return;
    const bool created = Run(server, u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(m_name)) &&
                         Run(server, u"CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' "
                                     "LC_COLLATE 'C' LC_CTYPE 'C'"_s.arg(m_name));
    PQfinish(server);
    if (!created)
        return;
    m_db = Connect(m_name);
    if (!m_db || !Run(m_db, QString::fromLatin1(kSqliteFunctions)))
        return;
    const std::unique_ptr<CADODatabase> database = Open();
    QString error;
    if (database->IsOpen() && !UpgradeDatabase(*database, &error))
        ADD_FAILURE() << "cannot make the schema in " << m_name.toStdString() << ": "
                      << error.toStdString();
}

PgTestDatabase::~PgTestDatabase()
{
    if (m_db)
        PQfinish(m_db);
    if (pg_conn* server = Connect(u"postgres"_s)) {
        Run(server, u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(m_name));
        PQfinish(server);
    }
}

QString PgTestDatabase::ConnectionString() const
{
    return u"Provider=PostgreSQL;"_s + ServerConninfo(m_name);
}

void PgTestDatabase::Exec(const QString& sql) const
{
    if (!m_db) {
        ADD_FAILURE() << "no test database for " << sql.toStdString();
        return;
    }
    if (!Run(m_db, sql))
        return;
    // Names written here, past the recordsets, get their initials as the program gives them.
    static const QRegularExpression writesNames(
        u"\\b(INSERT\\s+INTO|UPDATE)\\s+\\[?(client|address)\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    if (writesNames.match(sql).hasMatch()) {
        Run(m_db, u"UPDATE client SET name_initials = NULL; "
                  "UPDATE address SET user_initials = NULL"_s);
        const std::unique_ptr<CADODatabase> database = Open();
        QString error;
        if (database->IsOpen() && !FillStoredInitials(*database->GetActiveConnection(), &error))
            ADD_FAILURE() << "cannot fill the initials: " << error.toStdString();
    }
}

QString PgTestDatabase::QueryValue(const QString& sql) const
{
    if (!m_db) {
        ADD_FAILURE() << "no test database for " << sql.toStdString();
        return {};
    }
    PGresult* result = PQexec(m_db, ServerSql(sql).constData());
    QString value;
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) > 0)
        value = PQgetisnull(result, 0, 0) ? u"<NULL>"_s : SqliteText(result, 0);
    else
        ADD_FAILURE() << sql.toStdString() << ": " << PQerrorMessage(m_db);
    PQclear(result);
    return value;
}

QStringList PgTestDatabase::Tables() const
{
    return Texts(u"SELECT table_name FROM information_schema.tables WHERE table_schema = "
                 "current_schema() ORDER BY table_name"_s);
}

QStringList PgTestDatabase::Columns(const QString& table) const
{
    return Texts(
        u"SELECT column_name FROM information_schema.columns WHERE table_schema = "
        "current_schema() AND table_name = lower('%1') AND column_name <> "
        "'vantrel_rowid' AND column_name NOT LIKE '%\\_initials' ORDER BY ordinal_position"_s.arg(
            QString(table).replace(u"'"_s, u"''"_s)));
}

QStringList PgTestDatabase::Texts(const QString& sql) const
{
    QStringList texts;
    if (!m_db) {
        ADD_FAILURE() << "no test database for " << sql.toStdString();
        return texts;
    }
    PGresult* result = PQexec(m_db, ServerSql(sql).constData());
    if (PQresultStatus(result) != PGRES_TUPLES_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << PQerrorMessage(m_db);
    else
        for (int row = 0; row < PQntuples(result); ++row)
            texts << QString::fromUtf8(PQgetvalue(result, row, 0));
    PQclear(result);
    return texts;
}

void PgTestDatabase::LogRowChanges(const QString& table, const QStringList& columns) const
{
    const QString names = columns.join(u", "_s);
    // The log's columns take the types of the table's own.
    Exec(
        u"CREATE TABLE rowlog AS SELECT ''::text AS op, vantrel_rowid AS id, %1 FROM %2 "
        "WITH NO DATA; ALTER TABLE rowlog ADD COLUMN seq bigint GENERATED ALWAYS AS IDENTITY"_s.arg(
            names, table));
    Exec(u"CREATE FUNCTION log_%1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
         "IF TG_OP = 'DELETE' THEN INSERT INTO rowlog (op, id, %2) VALUES (TG_OP, "
         "OLD.vantrel_rowid, OLD.%3); RETURN OLD; END IF; "
         "INSERT INTO rowlog (op, id, %2) VALUES (TG_OP, NEW.vantrel_rowid, NEW.%4); "
         "RETURN NEW; END $$; "
         "CREATE TRIGGER log AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW "
         "EXECUTE FUNCTION log_%1()"_s.arg(table, names, columns.join(u", OLD."_s),
                                           columns.join(u", NEW."_s)));
}

#pragma once

#include "data/dbcatalogue.h"

#include <QByteArray>

namespace vantrel::postgres {

class PgConnection;

// The tables of the connection's current schema, read from information_schema. The schema's
// types become citext for text (under the "C" collation; a domain of it, longtext, for long
// text), smallint for yes/no, timestamp(0) for dates; every table gains the identity column
// that names its rows. citext compares under the database's own LC_CTYPE, so a database made
// with LC_CTYPE 'C' folds ASCII letters only, as the program always has; under another it
// also takes Ä for ä.
class PgCatalogue final : public db::Catalogue
{
public:
    explicit PgCatalogue(PgConnection& connection) : m_connection(connection) {}

    QStringList Tables() override;
    bool HasTable(const QString& name) override;
    std::vector<db::ColumnSpec> Columns(const QString& table) override;
    bool CreateTable(const QString& name, const std::vector<db::ColumnSpec>& columns) override;
    bool AddColumn(const QString& table, const db::ColumnSpec& column) override;
    const QSet<QString>& NonTextColumns() override;
    void SchemaChanged() override;
    // A statement-level trigger: a statement of many rows sends one notice, and the server
    // folds the notices of one transaction into one a table.
    bool AnnounceChanges(const QString& table) override;

    // The server's column type for one of the schema.
    static QString TypeName(schema::ColumnType type);

private:
    // The text types and the list order's collation, made once in each database.
    bool PrepareTypes();
    bool Execute(const QString& sql);
    // Keeps the numbers the server gives to an AutoNumber column above those the table holds.
    bool FollowNumbers(const QString& table, const QString& column);

    PgConnection& m_connection;
    QSet<QString> m_nonText;
    bool m_nonTextKnown = false;
    bool m_typesReady = false;
};

} // namespace vantrel::postgres

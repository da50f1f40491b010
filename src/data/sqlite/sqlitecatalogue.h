#pragma once

#include "data/dbcatalogue.h"

namespace vantrel::sqlite {

class SqliteConnection;

// The tables of a SQLite file, read from sqlite_master and its pragmas.
class SqliteCatalogue final : public db::Catalogue
{
public:
    explicit SqliteCatalogue(SqliteConnection& connection) : m_connection(connection) {}

    QStringList Tables() override;
    bool HasTable(const QString& name) override;
    std::vector<db::ColumnSpec> Columns(const QString& table) override;
    bool CreateTable(const QString& name, const std::vector<db::ColumnSpec>& columns) override;
    bool AddColumn(const QString& table, const db::ColumnSpec& column) override;
    const QSet<QString>& NonTextColumns() override;
    void SchemaChanged() override;

private:
    bool Execute(const QString& sql);

    SqliteConnection& m_connection;
    QSet<QString> m_nonText;
    bool m_nonTextKnown = false;
};

} // namespace vantrel::sqlite

#pragma once

#include "support/testdatabase.h"

#include <QString>

struct pg_conn;

// A fresh database made from the schema on the test server, dropped when the test ends. The
// server is the one VANTREL_TEST_PGHOST and VANTREL_TEST_PGPORT name (the test run starts it);
// a test that cannot reach it fails.
class PgTestDatabase final : public TestDatabase
{
public:
    PgTestDatabase();
    ~PgTestDatabase() override;
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    QString ConnectionString() const override;
    // Statements run through libpq itself, in PostgreSQL's SQL.
    void Exec(const QString& sql) const override;
    QString QueryValue(const QString& sql) const override;
    QStringList Tables() const override;
    // Without the column that gives the rows their identity.
    QStringList Columns(const QString& table) const override;
    void LogRowChanges(const QString& table, const QStringList& columns) const override;

    // "host=… port=… user=vantrel dbname=<database>".
    static QString ServerConninfo(const QString& database);

private:
    QStringList Texts(const QString& sql) const;

    QString m_name;
    pg_conn* m_db = nullptr;
};

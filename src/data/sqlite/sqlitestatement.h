#pragma once

#include "data/dbstatement.h"

struct sqlite3_stmt;

namespace vantrel::sqlite {

class SqliteConnection;

// A statement its connection prepared and keeps; it finalises it when it goes.
class SqliteStatement final : public db::Statement
{
public:
    SqliteStatement(SqliteConnection& connection, sqlite3_stmt* statement)
        : m_connection(connection), m_statement(statement)
    {
    }
    ~SqliteStatement() override;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool BindNull(int parameter) override;
    bool BindInteger(int parameter, qint64 value) override;
    bool BindReal(int parameter, double value) override;
    bool BindText(int parameter, QByteArrayView utf8) override;
    db::StepResult Step() override;
    void Reset() override;

    int ColumnCount() const override;
    QString ColumnName(int column) const override;
    QString ColumnTable(int column) const override;
    db::ColumnRole Role(int column) const override;
    int Preparation() const override;

    db::ValueType Type(int column) const override;
    qint64 Integer(int column) const override;
    double Real(int column) const override;
    QByteArrayView Text(int column) const override;
    db::ValueType Read(int column, qint64& number, QByteArrayView& text) const override;

private:
    bool Bound(int code);

    SqliteConnection& m_connection;
    sqlite3_stmt* m_statement;
};

} // namespace vantrel::sqlite

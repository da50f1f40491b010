#pragma once

#include "data/dbstatement.h"
#include "data/postgres/pgconnection.h"

#include <QByteArray>

#include <vector>

namespace vantrel::postgres {

// A statement prepared on the server under a name of its own. Its values go as untyped text,
// so the server reads each as the type its place in the statement calls for. The whole result
// comes at the first Step and is read from memory after.
class PgStatement final : public db::Statement
{
public:
    // Prepares the text; null with the connection's LastError set when the server refuses it.
    static std::shared_ptr<PgStatement> Prepare(PgConnection& connection, const QString& sql);
    ~PgStatement() override;
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

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
    int Preparation() const override { return m_preparation; }

    db::ValueType Type(int column) const override;
    qint64 Integer(int column) const override;
    double Real(int column) const override;
    QByteArrayView Text(int column) const override;

private:
    PgStatement(PgConnection& connection, QByteArray sql, int parameters);
    bool PrepareOnServer();
    bool Bind(int parameter, QByteArray value, bool null);
    bool Run();
    // The columns of the result, known from the server's description before any run.
    pg_result* Columns() const;

    PgConnection& m_connection;
    QByteArray m_sql;
    QByteArray m_name;
    std::vector<QByteArray> m_values;
    std::vector<char> m_null;
    Result m_description;
    Result m_result;
    int m_row = -1;
    int m_preparation = 0;
    int m_session = 0; // the connection's session it was prepared in
    const bool m_reads;
};

} // namespace vantrel::postgres

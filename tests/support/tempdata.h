#pragma once

#include "support/testdatabase.h"

#include <QString>
#include <QTemporaryDir>

// A fresh data file made from the schema in a folder of its own, removed afterwards: the
// SQLite database of the data tests, and the data file of the tests above them.
class TempDataFile final : public TestDatabase
{
public:
    TempDataFile();
    QString Dir() const { return m_dir.path(); }
    QString Path() const;
    QString ConnectionString() const override;
    // Statements run on the file through SQLite itself.
    void Exec(const QString& sql) const override;
    QString QueryValue(const QString& sql) const override;
    QStringList Tables() const override;
    QStringList Columns(const QString& table) const override;
    void LogRowChanges(const QString& table, const QStringList& columns) const override;

private:
    // The first column of every row a statement returns.
    QStringList Texts(const QString& sql) const;

    QTemporaryDir m_dir;
};

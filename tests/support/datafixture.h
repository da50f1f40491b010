#pragma once

// The data tests run each test body once on every backend in DataBackends(): SQLite, then
// PostgreSQL on the test run's server (support/pgtestdatabase.h); a test's name ends in its
// backend's name ("Recordset.WritesNeedAnEdit…/sqlite").
// A test suite is made one of these by
//     using Recordset = DataTest;
//     TEST_P(Recordset, …) { … }
//     INSTANTIATE_TEST_SUITE_P(, Recordset, EachBackend(), BackendName);
// and its body reaches a fresh database of its own through the fixture. A backend joins by
// one entry in DataBackends(): its name and the maker of its databases (support/testdatabase.h
// says what a database must provide).

#include "support/testdatabase.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

struct DataBackend
{
    const char* name;
    std::unique_ptr<TestDatabase> (*makeDatabase)();
};

inline void PrintTo(const DataBackend& backend, std::ostream* out)
{
    *out << backend.name;
}

// Every backend the data tests run on.
const std::vector<DataBackend>& DataBackends();

inline auto EachBackend()
{
    return ::testing::ValuesIn(DataBackends());
}

// The SQLite backend alone, for the suites that test what only a file does, or that do not
// pass on the server yet.
inline auto SqliteBackendOnly()
{
    return ::testing::Values(DataBackends().front());
}

inline std::string BackendName(const ::testing::TestParamInfo<DataBackend>& info)
{
    return info.param.name;
}

// Gives each test a fresh database of the parameter's backend.
class DataTest : public ::testing::TestWithParam<DataBackend>
{
protected:
    void SetUp() override { m_database = GetParam().makeDatabase(); }

    QString ConnectionString() const { return m_database->ConnectionString(); }
    std::unique_ptr<CADODatabase> Open() const { return m_database->Open(); }
    void Exec(const QString& sql) const { m_database->Exec(sql); }
    QString QueryValue(const QString& sql) const { return m_database->QueryValue(sql); }
    QStringList Tables() const { return m_database->Tables(); }
    QStringList Columns(const QString& table) const { return m_database->Columns(table); }
    void LogRowChanges(const QString& table, const QStringList& columns) const
    {
        m_database->LogRowChanges(table, columns);
    }

private:
    std::unique_ptr<TestDatabase> m_database;
};

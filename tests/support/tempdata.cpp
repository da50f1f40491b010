#include "support/tempdata.h"

#include "data/schema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

TempDataFile::TempDataFile()
{
    QString error;
    if (!CreateDataFile(Path(), &error))
        ADD_FAILURE() << "cannot create " << Path().toStdString() << ": " << error.toStdString();
}

QString TempDataFile::Path() const
{
    return m_dir.filePath(u"sale.db"_s);
}

QString TempDataFile::ConnectionString() const
{
    return CADODatabase::ConnectionStringFor(Path());
}

void TempDataFile::Exec(const QString& sql) const
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(Path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << (message ? message : "?");
    sqlite3_free(message);
    sqlite3_close(db);
}

QString TempDataFile::QueryValue(const QString& sql) const
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(Path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        value = text ? QString::fromUtf8(text) : u"<NULL>"_s;
    } else {
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

QStringList TempDataFile::Tables() const
{
    return Texts(u"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
                 "ORDER BY name"_s);
}

QStringList TempDataFile::Columns(const QString& table) const
{
    return Texts(u"SELECT name FROM pragma_table_info('%1') ORDER BY cid"_s.arg(
        QString(table).replace(u"'"_s, u"''"_s)));
}

QStringList TempDataFile::Texts(const QString& sql) const
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(Path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    QStringList texts;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    while (statement && sqlite3_step(statement) == SQLITE_ROW)
        texts << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return texts;
}

void TempDataFile::LogRowChanges(const QString& table, const QStringList& columns) const
{
    Exec(u"CREATE TABLE rowlog (seq INTEGER PRIMARY KEY, op TEXT, id INTEGER, %1)"_s.arg(
        columns.join(u", "_s)));
    for (const QString& op : {u"INSERT"_s, u"UPDATE"_s, u"DELETE"_s}) {
        const QString row = op == u"DELETE"_s ? u"old."_s : u"new."_s;
        Exec(u"CREATE TRIGGER log%1 AFTER %1 ON %2 BEGIN INSERT INTO rowlog (op, id, %3) "
             "VALUES ('%1', %4rowid, %4%5); END"_s.arg(op, table, columns.join(u", "_s), row,
                                                       columns.join(u", "_s + row)));
    }
}

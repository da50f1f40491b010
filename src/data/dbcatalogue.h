#pragma once

#include "data/schema.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace vantrel::db {

struct ColumnSpec
{
    QString name;
    schema::ColumnType type = schema::ColumnType::Text;
};

// The tables of a data source and their columns, as the backend stores them. Each backend
// writes a schema::ColumnType in its own types and reads its declared types back as one.
// A failed change leaves its error with the connection (LastError).
class Catalogue
{
public:
    virtual ~Catalogue() = default;

    // The names of the tables the source holds, without the engine's own.
    virtual QStringList Tables() = 0;
    // Whether the source holds a table of that name, letter case aside.
    virtual bool HasTable(const QString& name) = 0;
    // A table's columns in their order; empty when there is no such table.
    virtual std::vector<ColumnSpec> Columns(const QString& table) = 0;
    virtual bool CreateTable(const QString& name, const std::vector<ColumnSpec>& columns) = 0;
    virtual bool AddColumn(const QString& table, const ColumnSpec& column) = 0;

    // Lower-case names of the columns that hold no text in any table, and "table.column" for
    // each column that holds none in its table: their comparisons need no case-blind rule
    // and their order no code-page one, so both keep their indexes.
    virtual const QSet<QString>& NonTextColumns() = 0;
    // Tables or columns were added, here or by other code on the same source: what was learnt
    // about them is read again.
    virtual void SchemaChanged() = 0;

    // Makes a table tell the other workstations of every change to it, where the backend tells
    // (Connection::SetChangeListener); made with each table, and again by an upgrade. A data
    // file tells nothing, so there is nothing to make.
    virtual bool AnnounceChanges(const QString& table)
    {
        Q_UNUSED(table);
        return true;
    }
};

} // namespace vantrel::db

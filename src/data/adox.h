#pragma once

#include <QString>

#include <memory>
#include <vector>

class CADODatabase;

// Column type numbers as the catalogue takes them.
enum AdoDataType {
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adWChar = 130,
    adVarChar = 200,
    adVarWChar = 202,
    adLongVarWChar = 203,
};

class CADOXTable;
class CADOXField;

// The structure of one data file: which tables exist, and adding tables and columns.
class CADOXCatalog
{
public:
    CADOXCatalog();
    virtual ~CADOXCatalog();
    bool Open(const QString& connectionString);
    bool HasTable(const QString& tableName);
    bool AddTable(CADOXTable table);
    CADODatabase* Database() const { return m_database.get(); }

private:
    std::unique_ptr<CADODatabase> m_database;
};

class CADOXField
{
public:
    explicit CADOXField(CADOXTable* table, const QString& columnName = {});
    bool Open(const QString& columnName);
    void Create(const QString& columnName) { m_name = columnName; }
    void SetType(int adoType) { m_type = adoType; }
    void SetDefinedSize(int size) { m_definedSize = size; }
    void SetAllowZeroLength(bool allow) { m_allowZeroLength = allow; }

    QString Name() const { return m_name; }
    int Type() const { return m_type; }
    int DefinedSize() const { return m_definedSize; }
    bool AllowZeroLength() const { return m_allowZeroLength; }

private:
    CADOXTable* m_table;
    QString m_name;
    int m_type = adVarWChar;
    int m_definedSize = 255;
    bool m_allowZeroLength = false;
};

class CADOXTable
{
public:
    explicit CADOXTable(CADOXCatalog* catalog, const QString& tableName = {});
    bool Open(const QString& tableName);
    bool Create(const QString& tableName);
    // On a table that is still being created the field joins its definition; on an existing
    // table the column is added to the file at once.
    bool AddField(CADOXField field);

    QString Name() const { return m_name; }
    bool Exists() const { return m_exists; }
    CADOXCatalog* Catalog() const { return m_catalog; }
    const std::vector<CADOXField>& Fields() const { return m_fields; }

private:
    CADOXCatalog* m_catalog;
    QString m_name;
    bool m_exists = false;
    std::vector<CADOXField> m_fields;
};

// Whether an open data file has the table, named in any letter case; false when it is closed.
bool DatabaseHasTable(CADODatabase* database, const QString& tableName);

// Rewrites the file named by the source connection string, without unused space, into the
// file named by the destination. Fails when the destination exists already.
bool CompactDatabase(const QString& sourceConnection, const QString& destinationConnection);

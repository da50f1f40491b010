#pragma once

#include <QString>

#include <vector>

// What tells the raw-materials catalogue from the products catalogue: tables, titles, list
// columns, sort choices and texts. One dialog serves both.
struct CatalogueKind
{
    struct SortChoice
    {
        QString label;
        QString objectName;
        int column; // the item list column sorted by
    };

    QString objectName;
    QString title;
    QString table;      // "material"
    QString imageTable; // "materialimage"
    // The enterprise field (`client`, "所属企业：") and its list column.
    bool hasClient;
    QString loadSql;
    std::vector<SortChoice> sorts;
    QString notFound;          // an item clicked is gone
    QString duplicate;         // the name exists already
    QString tableMissing;      // the item table cannot be opened
    QString imageTableMissing; // the picture table cannot be opened
};

const CatalogueKind& MaterialCatalogue();
const CatalogueKind& ProductCatalogue();

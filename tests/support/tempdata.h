#pragma once

#include "data/adodatabase.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A fresh data file made from the schema in a folder of its own, removed afterwards.
class TempDataFile
{
public:
    TempDataFile();
    QString Dir() const { return m_dir.path(); }
    QString Path() const;
    QString ConnectionString() const;
    // A new open connection to the file.
    std::unique_ptr<CADODatabase> Open() const;
    // Runs statements on the file outside the access layer, to set up or inspect rows.
    void Exec(const QString& sql) const;
    QString QueryValue(const QString& sql) const;

private:
    QTemporaryDir m_dir;
};

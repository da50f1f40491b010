#pragma once

#include <QObject>
#include <QString>

// Where a database says which tables other workstations changed (Connection::SetChangeListener).
// It belongs to the CADODatabase and outlives the connections that opens, so that whoever
// listens stays listening when the database is opened again.
class CChangeNotices : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void TableChanged(const QString& table);
};

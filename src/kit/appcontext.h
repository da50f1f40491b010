#pragma once

#include "kit/clock.h"

#include <QObject>
#include <QString>

class CADODatabase;

// The services of the running program that every window may use: the data file, the reference
// file of postcodes and area codes, the picture home directory and the clock. The
// application object provides them; tests make one over their own files.
class CAppContext : public QObject
{
    Q_OBJECT
public:
    explicit CAppContext(QObject* parent = nullptr) : QObject(parent) {}

    // Null while the file is not open.
    virtual CADODatabase* Database() const { return m_pDb; }
    virtual CADODatabase* ReferenceDatabase() const { return m_pAreaDb; }
    void SetDatabases(CADODatabase* database, CADODatabase* reference);

    // The folder picture paths are stored relative to ("" when none is set).
    QString PicturePath() const { return m_strPicPath; }
    // Takes the new folder and tells everyone who keeps it.
    void SetPicturePath(const QString& path);

    // The program's "now": the system clock unless another is set.
    const CClock& Clock() const { return m_clock; }
    QDateTime Now() const { return m_clock.Now(); }
    QDate Today() const { return m_clock.Today(); }
    void SetClock(const CClock& clock) { m_clock = clock; }

Q_SIGNALS:
    void PicturePathChanged(const QString& path);

private:
    CADODatabase* m_pDb = nullptr;
    CADODatabase* m_pAreaDb = nullptr;
    QString m_strPicPath;
    CClock m_clock;
};

#pragma once

#include "kit/clock.h"

#include <QObject>
#include <QString>

class CADODatabase;
class CSkinEngine;

// The services of the running program that every window may use: the data file, the reference
// file of postcodes and area codes, the picture home directory, the clock and the skin engine.
// The application object provides them; tests make one over their own files.
class CAppContext : public QObject
{
    Q_OBJECT
public:
    explicit CAppContext(QObject* parent = nullptr) : QObject(parent) {}

    // Null while the file is not open.
    virtual CADODatabase* Database() const { return m_pDb; }
    virtual CADODatabase* ReferenceDatabase() const { return m_pAreaDb; }
    void SetDatabases(CADODatabase* database, CADODatabase* reference);

    // What windows are drawn with; null when there is none, and windows then look plain.
    CSkinEngine* Skin() const { return m_pSkin; }
    void SetSkin(CSkinEngine* skin) { m_pSkin = skin; }

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
    CSkinEngine* m_pSkin = nullptr;
    QString m_strPicPath;
    CClock m_clock;
};

#pragma once

// A working folder for the application object in tests: a fresh data file "sale.db", a
// setup.ini, skins written on demand, and the skin engine the folder's applications draw with.
// Modal dialogs are driven with support/modal.h.

#include "app/vantrelapp.h"
#include "kit/skinengine.h"
#include "support/modal.h"
#include "support/tempdata.h"

#include <QDir>
#include <QFile>

#include <memory>

class StartFolder
{
public:
    QString Dir() const { return m_data.Dir(); }
    QString DataPath() const { return m_data.Path(); }
    QString IniPath() const { return QDir(Dir()).filePath(QStringLiteral("setup.ini")); }
    const TempDataFile& Data() const { return m_data; }
    CSkinEngine& Skin() const { return *m_skin; }

    void WriteIni(const QByteArray& text) const
    {
        QFile file(IniPath());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
    }

    QByteArray IniText() const
    {
        QFile file(IniPath());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    // A small skin in the format of the skin engine.
    void AddSkin(const QString& fileName) const
    {
        QDir(Dir()).mkpath(QStringLiteral("skin"));
        QFile file(QDir(Dir()).filePath(QStringLiteral("skin/") + fileName));
        file.open(QIODevice::WriteOnly);
        file.write("[Skin]\nName = test\nFormat = 1\n\n[Dialog]\nWindow = #ffffff\n\n"
                   "[MainFrame]\nWindow = #eeeeee\n");
    }

    std::unique_ptr<CVantrelApp> MakeApp() const
    {
        return std::make_unique<CVantrelApp>(Dir(), IniPath(), *m_skin);
    }

private:
    TempDataFile m_data;
    std::unique_ptr<CSkinEngine> m_skin = std::make_unique<CSkinEngine>();
};

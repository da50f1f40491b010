#pragma once

// A working folder for the application object in tests: a fresh data file "sale.db", a
// setup.ini, and skins written on demand.

#include "app/vantrelapp.h"
#include "support/tempdata.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class StartFolder
{
public:
    QString Dir() const { return m_data.Dir(); }
    QString DataPath() const { return m_data.Path(); }
    QString IniPath() const { return QDir(Dir()).filePath(QStringLiteral("setup.ini")); }
    const TempDataFile& Data() const { return m_data; }

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
        return std::make_unique<CVantrelApp>(Dir(), IniPath());
    }

private:
    TempDataFile m_data;
};

// While it exists, runs `action` once on the first modal dialog of type T that is on screen
// (the code under test runs its dialogs through exec()). An expected dialog that never opened
// fails the test.
template <typename T> class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(T*)> action, bool expected = true)
        : m_action(std::move(action)), m_expected(expected)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                m_timer.stop();
                m_fired = true;
                m_action(dialog);
            }
        });
        m_timer.start();
    }
    ~ModalDriver()
    {
        if (m_expected && !m_fired)
            ADD_FAILURE() << "the expected dialog did not open";
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    bool Fired() const { return m_fired; }

private:
    QTimer m_timer;
    std::function<void(T*)> m_action;
    bool m_expected;
    bool m_fired = false;
};

// Fails the test if any dialog opens, and closes it so the test can end.
class NoDialog : public ModalDriver<QDialog>
{
public:
    NoDialog()
        : ModalDriver<QDialog>(
              [](QDialog* dialog) {
                  ADD_FAILURE() << "unexpected dialog " << dialog->objectName().toStdString();
                  dialog->reject();
              },
              false)
    {
    }
};

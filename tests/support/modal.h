#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

// While it exists, runs `action` once on the first modal dialog of type T that comes on screen
// (the code under test runs its dialogs through exec(), at once or once the current event has
// been handled), then closes the dialog if the action left it open. An expected dialog that
// never opened fails the test when the driver goes.
template <typename T> class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(T&)> action, bool expected = true)
        : m_action(std::move(action)), m_expected(expected)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { Poll(); });
        m_timer.start();
    }
    ~ModalDriver()
    {
        if (m_expected && !m_opened)
            ADD_FAILURE() << "the expected dialog " << T::staticMetaObject.className()
                          << " did not open";
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool Opened() const { return m_opened; }

    // Lets events run until the dialog has opened and been dealt with, for a dialog that opens
    // after the current event; gives up after `timeoutMs`. Returns whether it opened.
    bool Wait(int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_opened && clock.elapsed() < timeoutMs)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return m_opened;
    }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_timer.stop();
        m_opened = true;
        const QPointer<QWidget> open(dialog);
        m_action(*dialog);
        if (auto* shown = qobject_cast<QDialog*>(open.data()); shown && shown->isVisible())
            shown->reject();
        else if (open && open->isVisible())
            open->close();
    }

    QTimer m_timer;
    std::function<void(T&)> m_action;
    bool m_expected;
    bool m_opened = false;
};

// While it exists, fails the test if any modal dialog opens, and closes it so the test can end.
class NoDialog : public ModalDriver<QDialog>
{
public:
    NoDialog()
        : ModalDriver<QDialog>(
              [](QDialog& dialog) {
                  ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString() << " ("
                                << dialog.metaObject()->className() << ")";
              },
              false)
    {
    }
};

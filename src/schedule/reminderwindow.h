#pragma once

#include "schedule/remindersdue.h"

#include <QWidget>

#include <vector>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "提醒": the small window, on top of the others and not modal, that lists what is due, one
// line each with its kind, its window or time and its text; the whole text of the chosen line
// shows below. Its buttons act on the chosen line: "知道了", "稍后提醒" and "打开". Closing the
// window (Escape or the title bar) puts off everything it lists, as "稍后提醒" does. It comes up
// in the bottom right corner of the screen's free area, without taking the keyboard from the
// window the user is typing in, and it answers also while a modal dialog runs: it then belongs
// to that dialog (as its transient window), which blocks only the windows below it.
class CReminderWindow : public QWidget
{
    Q_OBJECT
public:
    explicit CReminderWindow(QWidget* parent = nullptr);

    // Lists these entries, keeping the chosen line when it is still listed.
    void SetEntries(std::vector<DueEntry> entries);
    const std::vector<DueEntry>& Entries() const { return m_entries; }
    // The line's texts: kind, window or time, text.
    static QStringList LineTexts(const DueEntry& entry);

    // Shows the window in the corner when hidden, else raises it where the user left it.
    void ShowNotice();
    // Belongs to the modal dialog now running, if any, else to the window it was made for, so
    // that a modal dialog does not block it.
    void FollowModalDialog();

    // The chosen line; -1 when none.
    int CurrentIndex() const;
    void SetCurrentIndex(int index);

Q_SIGNALS:
    void Acknowledged(const DueEntry& entry);
    void Snoozed(const DueEntry& entry);
    void OpenRequested(const DueEntry& entry);
    // Closed by the user with these entries still listed.
    void Dismissed(const std::vector<DueEntry>& entries);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowCurrentText();
    // The frame's bottom right corner at that of the free area of the owner's screen.
    void PlaceInCorner();
    // Emits `signal` for the chosen line, if any.
    void ActOnCurrent(void (CReminderWindow::*signal)(const DueEntry&));

    std::vector<DueEntry> m_entries;
    QTreeWidget* m_list;
    QPlainTextEdit* m_text;
    QPushButton* m_acknowledge;
    QPushButton* m_snooze;
    QPushButton* m_open;
};

#pragma once

#include "kit/autocompletelist.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

// Type-ahead for a client box. Attached to an existing drop-down combo box (or to a plain line
// edit), it shows under the box, while the user types, every known entry that begins with the
// typed text; the user picks one with the mouse or the cursor keys and the box takes the
// whole entry. Owners fill it once after their controls exist:
//
//   m_clientBox.Init(clientCombo);
//   for each client: m_clientBox.AddString(name); m_clientBox.AddCompletion(name);
//   connect(&m_clientBox, &CAutoCompleteCombo::Changed, this, &Dialog::OnClientChanged);
//
// While the pop-up is shown the box hands it Up, Down, Page Up, Page Down, Home and End; Enter
// takes the highlighted match (the first one until the keys move) and Escape keeps the typed
// text, both closing the pop-up without reaching the dialog (so Enter does not press the
// default button). When the pop-up is hidden every key behaves as in a plain combo box.
class CAutoCompleteCombo : public QObject
{
    Q_OBJECT
public:
    // What the box is attached to.
    enum Kind { kNotAttached = -1, kEdit = 1, kComboBox = 2 };

    // The width of an attached combo box, in characters: it does not grow with its entries.
    static constexpr int kBoxCharacters = 16;

    explicit CAutoCompleteCombo(QObject* parent = nullptr);
    ~CAutoCompleteCombo() override;

    // Attaches to the control, once its dialog has built it, and creates the pop-up. A combo
    // box is made editable. False for any other kind of control.
    bool Init(QWidget* control);
    Kind ControlKind() const { return m_kind; }
    QWidget* Control() const { return m_control; }
    QLineEdit* EditField() const { return m_edit; }
    CAutoCompleteList* List() const { return m_list; }

    // An entry of the pop-up's matching list.
    void AddCompletion(const QString& text);

    // The combo box's own list; attached to a line edit they do nothing and answer -1.
    int AddString(const QString& text);
    // Many items at once, in the order given.
    void AddStrings(const QStringList& texts);
    // The first item after `startAfter` (-1: from the top, wrapping round) that begins with
    // the text without regard to case; -1 when none does.
    int FindString(int startAfter, const QString& text) const;
    // The same for an item equal to the text exactly.
    int FindStringExact(int startAfter, const QString& text) const;
    int GetCurSel() const;
    // Selects an item (its text goes into the edit field); -1 clears the selection.
    int SetCurSel(int index);
    // The item's text length, -1 for no such item.
    int GetLBText(int index, QString& text) const;
    int GetCount() const;

    // The text of the edit field.
    QString Text() const;
    // Sets the text as the program, not the user: no matching, no notification.
    void SetText(const QString& text);

Q_SIGNALS:
    // The user changed the text: typed into the box, took an entry from the pop-up or the
    // combo's own list, or closed the pop-up with Enter or Escape. Owners refill what depends
    // on the box.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The matching pass after every change the user types.
    void OnTextEdited();
    // The box takes the pop-up's selected entry (the first one when none is selected).
    void TakeSelected();
    bool HandleKey(int key);
    void HidePopup();
    bool IsPopupShown() const;
    // The pop-up is also closed by a press anywhere outside it and the box.
    void WatchClicks(bool on);
    bool IsInsideBoxOrPopup(QObject* object) const;

    Kind m_kind = kNotAttached;
    QPointer<QWidget> m_control;
    QPointer<QComboBox> m_combo;
    QPointer<QLineEdit> m_edit;
    QPointer<CAutoCompleteList> m_list;
    // Who the filtered events come from, compared by address only: a widget that is being
    // destroyed still sends its last events.
    const QObject* m_controlId = nullptr;
    const QObject* m_editId = nullptr;
    const QObject* m_listId = nullptr;
    const QObject* m_windowId = nullptr;
    // Set while the box changes its own text, so that the change starts no matching pass.
    bool m_bBusy = false;
    bool m_bWatchingClicks = false;
};

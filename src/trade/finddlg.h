#pragma once

#include "trade/findresults.h"

#include <QDialog>

#include <map>

class CVantrelDoc;
class QLineEdit;
class QPushButton;

// "查找": four searches, each a group with an edit and its "查找" button: contacts by a piece of
// their name, of any of their phone numbers or of their contact number, and clients by a piece
// of their client number. An empty edit is refused with the group's message and the dialog
// stays open; a search lists its result in the record lists (ShowFindResult) and closes the
// dialog. While an edit has the focus its group's "查找" is the default button.
class CFindDlg : public QDialog
{
    Q_OBJECT
public:
    // The client-number text goes into a LIKE pattern, which SQLite takes up to 50,000 bytes; a
    // character takes at most 3 bytes of UTF-8 (a surrogate pair 4 for two).
    static constexpr int kNumberMaxLength = 16000;

    explicit CFindDlg(CVantrelDoc& doc, QWidget* parent = nullptr);

    void OnFind(FindMode mode);

    QLineEdit* Edit(FindMode mode) const { return m_groups.at(mode).edit; }
    QPushButton* FindButton(FindMode mode) const { return m_groups.at(mode).button; }

private:
    struct Group
    {
        QLineEdit* edit = nullptr;
        QPushButton* button = nullptr;
        QString emptyMessage;
    };

    CVantrelDoc& m_doc;
    std::map<FindMode, Group> m_groups;
};

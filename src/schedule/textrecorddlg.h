#pragma once

#include "views/recorddlg.h"

#include <QPointer>
#include <QString>
#include <QVariantMap>

class CNoteView;
class CVantrelView;
class QHBoxLayout;
struct ListLayout;

// The base of the note and reminder dialogs: one record of a table that the database numbers,
// with a long text ("content") that the text view shows. The dialog saves one record and
// closes; a modify also rewrites the record's row of the main list and shows the new text in
// the text view, an add touches no list.
class CTextRecordDlg : public CRecordDlg
{
    Q_OBJECT
public:
    // A control by its object name (the name of the column it shows); null when none.
    QWidget* Control(const QString& name) const;

protected:
    // `layout` is the main list's layout of the table's rows; `list` and `text` are the main
    // list and the text view a modify updates, either may be null.
    CTextRecordDlg(CADODatabase* database, const QString& table, const ListLayout& layout,
                   CVantrelView* list, CNoteView* text, QWidget* parent);

    // The save button under `okText`, then "关闭", at the right.
    QHBoxLayout* NewCloseButtonRow(const QString& okText);

    // Writes the values by column name (QDateTime as a date, anything else as text) to a new
    // row or to the record m_nNo, then brings the lists up to date and says so. False, after
    // the message, when the record could not be saved.
    bool SaveRecord(const QVariantMap& values);

private:
    const ListLayout& m_layout;
    QPointer<CVantrelView> m_list;
    QPointer<CNoteView> m_text;
};

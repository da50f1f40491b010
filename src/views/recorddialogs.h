#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <map>
#include <string>
#include <string_view>

class QWidget;

// Names a record dialog that the record lists open to add or modify a record. Each feature
// names its own dialogs (a literal that lives for the whole run); the lists only compare them.
using RecordDialog = std::string_view;

// What a list hands to the dialog it opens. The opener copies it into the dialog's members
// before the modal run; the names in the comments are those members.
struct CRecordRequest
{
    RecordDialog dialog;
    bool modify = false; // m_bModify
    int no = -1;         // m_nNo: the record's number, -1 when adding
    int item = -1;       // m_nItem: the row of the list that shows the record, -1 when none
    // The record's stored values by column name, as the list read them for a modify: texts as
    // QString ("" for NULL), integers as int, amounts as double, dates reduced to their day as
    // QDate, date-times as QDateTime. Which columns each dialog gets is fixed by the list.
    QVariantMap fields;
    // A modify: every field of the record, as read together with `fields` (StoredRowTexts).
    // The dialog saves only while the file still holds the record so.
    QStringList storedRow;
    // Contact dialog: m_bPresetClient and m_strClient (the owning client's name).
    bool presetClient = false;
    QString client;
    // Payment-detail dialog: m_bSale, m_bPreselect and m_strOrder (the order's 单号 text).
    bool sale = false;
    bool preselect = false;
    QString order;
};

// Per dialog, the function that builds it from a request and runs it modally. The dialogs
// register themselves when the main window is built; a dialog that nobody registered is
// simply not offered.
class CRecordDialogs
{
public:
    using Opener = std::function<void(const CRecordRequest& request, QWidget* parent)>;

    void Register(RecordDialog dialog, Opener opener);
    void Unregister(RecordDialog dialog);
    bool Has(RecordDialog dialog) const;
    // False when no opener is registered for the request's dialog.
    bool Open(const CRecordRequest& request, QWidget* parent) const;

private:
    std::map<std::string, Opener, std::less<>> m_openers;
};

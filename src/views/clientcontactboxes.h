#pragma once

#include "kit/autocompletecombo.h"
#include "views/nameentry.h"

#include <QObject>
#include <QString>

class CADODatabase;
class QComboBox;

// The client box and contact box of the dialogs that deal with one client's business (orders,
// order queries): a type-ahead box of every client, and a drop-down list of the contacts of
// the client it names, refilled whenever the user chooses or types another client.
class CClientContactBoxes : public QObject
{
    Q_OBJECT
public:
    // `sortContacts`: the contact list sorts its names; otherwise it keeps table order.
    CClientContactBoxes(CADODatabase* database, QComboBox* clients, QComboBox* contacts,
                        bool sortContacts, QObject* parent = nullptr);

    // Every client of the file into the box, the first one chosen and its contacts listed.
    void Load();
    // Chooses the entry named `client` exactly and lists its contacts; false, changing
    // nothing, when no entry has that name.
    bool SelectClient(const QString& client);
    // Lists the contacts of the client named `client` exactly; none when no client has that
    // name.
    void ShowContactsOf(const QString& client);

    CAutoCompleteCombo& ClientBox() { return m_clientBox; }
    // Every client, in table order.
    const CNameEntries& Clients() const { return m_clients; }
    // The listed contacts, in table order.
    const CNameEntries& Contacts() const { return m_contacts; }

private:
    void ShowContactsOfSelected();

    CADODatabase* m_db;
    QComboBox* m_clientCombo;
    QComboBox* m_contactBox;
    bool m_bSortContacts;
    CAutoCompleteCombo m_clientBox;
    CNameEntries m_clients;
    CNameEntries m_contacts;
};

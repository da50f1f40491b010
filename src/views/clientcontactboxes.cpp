#include "views/clientcontactboxes.h"

#include "views/clientnames.h"

#include <QComboBox>
#include <QSignalBlocker>

CClientContactBoxes::CClientContactBoxes(CADODatabase* database, QComboBox* clients,
                                         QComboBox* contacts, bool sortContacts, QObject* parent)
    : QObject(parent), m_db(database), m_clientCombo(clients), m_contactBox(contacts),
      m_bSortContacts(sortContacts)
{
    m_clientBox.Init(clients);
    // A choice from the list, by the user or the program; the box's own notice covers typing
    // and the pop-up.
    connect(clients, &QComboBox::currentIndexChanged, this, [this] { ShowContactsOfSelected(); });
    connect(&m_clientBox, &CAutoCompleteCombo::Changed, this,
            [this] { ShowContactsOf(m_clientBox.Text()); });
}

void CClientContactBoxes::Load()
{
    {
        // The contacts are listed once, for the entry finally chosen.
        const QSignalBlocker quiet(m_clientCombo);
        LoadClientNames(m_db, m_clients, m_clientBox);
        if (m_clientBox.GetCount() > 0)
            m_clientBox.SetCurSel(0);
    }
    ShowContactsOfSelected();
}

bool CClientContactBoxes::SelectClient(const QString& client)
{
    const int index = m_clientBox.FindStringExact(-1, client);
    if (index < 0)
        return false;
    {
        const QSignalBlocker quiet(m_clientCombo);
        m_clientBox.SetCurSel(index);
    }
    ShowContactsOfSelected();
    return true;
}

void CClientContactBoxes::ShowContactsOfSelected()
{
    QString client;
    if (m_clientBox.GetLBText(m_clientBox.GetCurSel(), client) < 0)
        client.clear();
    ShowContactsOf(client);
}

void CClientContactBoxes::ShowContactsOf(const QString& client)
{
    m_contacts.clear();
    m_contactBox->clear();
    const CNameEntry* owner = client.isEmpty() ? nullptr : FindNameEntry(m_clients, client);
    if (!owner)
        return;
    m_contacts = ContactEntries(m_db, owner->m_nNo);
    QStringList names;
    for (const CNameEntry& contact : m_contacts)
        names << contact.m_strName;
    if (m_bSortContacts)
        SortNames(names);
    m_contactBox->addItems(names);
    if (m_contactBox->count() > 0)
        m_contactBox->setCurrentIndex(0);
}

#pragma once

#include <QString>

#include <functional>
#include <optional>

class CVantrelDoc;

// Who an appointment is with, as the main list shows it.
struct AppointParties
{
    QString client;
    QString contact;
};

// The names of the parties of an appointment with contact `linkman`; none when the
// appointment is not to be listed. A list asks once for each contact.
using AppointPartiesOf = std::function<std::optional<AppointParties>(int linkman)>;

// The main list as category 4: the appointments `sql` selects from `appoint`, each with the
// names `parties` gives, and the text view below for an appointment's text. The statement
// becomes the list's current query when it runs.
void ShowAppointmentList(CVantrelDoc& doc, const QString& sql, const AppointPartiesOf& parties);

// Names every contact by its number, from the tables as they are now: the contact's name and
// its client's name; both empty for a contact that is gone, the client's alone for a client
// that is gone.
AppointPartiesOf PartiesFromTables(CVantrelDoc& doc);

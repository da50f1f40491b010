#pragma once

#include <QString>

class CVantrelDoc;

// What "查找" searches.
enum class FindMode {
    kContactName = 0,   // contacts whose `name` holds the text
    kContactPhone = 1,  // contacts with the text in `mobile`, `officephone`, `homephone` or `fax`
    kContactNumber = 2, // contacts whose `number` holds the text
    kClientNumber = 10, // clients whose `number` is LIKE '%text%'
};

// Lists what a find finds. The main list becomes the client list ("客户列表", the find's client
// columns) and the secondary list the contact list. A client-number search fills the main list
// through the database's LIKE (the text quoted, its % and _ wildcards kept) and leaves the
// secondary list empty. A contact search reads every contact and keeps those whose field holds
// the text exactly as typed (letter case counts), each with its client's name ("未知客户" when
// the client is gone); the main list stays empty.
void ShowFindResult(CVantrelDoc& doc, FindMode mode, const QString& text);

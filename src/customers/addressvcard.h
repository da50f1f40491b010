#pragma once

#include "customers/addressentry.h"
#include "data/vcard.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <span>
#include <vector>

// The address book and vCard files: entries of table `address` written as cards, and cards
// read back into entries. The fields go where a phone's address book keeps them:
//   user          FN, and N split into family and given name
//   group         CATEGORIES
//   sex           GENDER (4.0), X-GENDER (3.0)
//   mobile        TEL;TYPE=cell          pas           TEL;TYPE=x-pas (小灵通)
//   homephone     TEL;TYPE=home,voice    officephone   TEL;TYPE=work,voice
//   fax           TEL;TYPE=work,fax      email1/email2 the first two EMAILs
//   qq, msn       X-QQ, X-MSN            birthday      BDAY (a date, else as text)
//   like          HOBBY (4.0), X-HOBBY (3.0)
//   company       ORG, first part        branch        ORG, second part
//   duty          TITLE
//   companyaddr   ADR;TYPE=work, street   companyzip   its postal code
//   homeaddr      ADR;TYPE=home, street   homezip      its postal code
//   remark        NOTE

QByteArray WriteAddressCards(std::span<const AddressEntry> entries, VCardVersion version);

// Why a card gives no entry.
enum class AddressCardProblem {
    Truncated,   // no END:VCARD
    BadLine,     // a line that is no content line
    BadCharset,  // an unknown CHARSET
    BadEncoding, // bytes that are no text
    NoName,      // neither FN nor N names anyone
    TooLong,     // a field longer than an edit box holds
    Control,     // control characters, which the data file does not keep as typed
};

struct AddressCardSkip
{
    int index = 0; // the card's place in the file
    int line = 0;  // its BEGIN:VCARD line
    AddressCardProblem problem = AddressCardProblem::Truncated;
    int problemLine = 0; // the line at fault, where one is
    QString field;       // the field at fault (TooLong, Control), in the dialog's words
};

struct AddressCard
{
    int index = 0;
    int line = 0;
    AddressEntry entry;   // with the card's first CATEGORIES value as its group
    QStringList leftOver; // properties the address book has no place for, one per instance
};

struct AddressCardsRead
{
    bool isVCard = false;
    std::vector<AddressCard> cards;
    std::vector<AddressCardSkip> skipped;
};

// The longest text a field takes: what the address dialog's edit boxes hold.
inline constexpr int kAddressFieldMaxLength = 32767;

AddressCardsRead ReadAddressCards(QByteArrayView bytes);

// A skipped card in words for the import's report: "第 3 张名片（第 25 行）：没有姓名".
QString AddressCardSkipText(const AddressCardSkip& skip);

#pragma once

// One entry of the address book as the program moves it between the data file and other
// files: the group, the sex and the text fields of table `address`.

#include <QString>

#include <array>
#include <span>
#include <vector>

class CADODatabase;

// The text columns of `address` after the group, in the address dialog's order.
inline constexpr int kAddressTextFieldCount = 20;
enum AddressText {
    kUser,
    kMobile,
    kPas,
    kHomePhone,
    kOfficePhone,
    kQq,
    kMsn,
    kEmail1,
    kEmail2,
    kBirthday,
    kLike,
    kCompany,
    kBranch,
    kDuty,
    kFax,
    kCompanyAddr,
    kCompanyZip,
    kHomeAddr,
    kHomeZip,
    kRemark,
};

struct AddressTextField
{
    const char* column;
    const char16_t* label; // the address dialog's, without the colon
};
// By AddressText.
std::span<const AddressTextField, kAddressTextFieldCount> AddressTextFields();

struct AddressEntry
{
    QString group;
    int sex = 0; // 0 男, 1 女
    std::array<QString, kAddressTextFieldCount> texts;

    bool operator==(const AddressEntry&) const = default;
};

// The entries of those record numbers, in that order; numbers no entry has are left out.
// False when the table cannot be read.
bool LoadAddressEntries(CADODatabase* database, std::span<const int> numbers,
                        std::vector<AddressEntry>& entries);

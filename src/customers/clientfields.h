#pragma once

#include <QString>

#include <array>

// The fields of a client as the client dialog shows them, in the dialog's order.
struct ClientField
{
    enum Kind { Edit, Combo, MultiLine };

    const char* field;     // the column of `client`
    const char16_t* label; // the dialog's label
    int controlId;         // the dialog control that shows it
    Kind kind;
    // Combo boxes: the statement that lists the dictionary's values, and the one that finds a
    // value there when the dialog feeds a new one back (empty: never fed back).
    const char16_t* listStatement;
    const char16_t* findStatement;
};

inline constexpr int kClientFieldCount = 22;

const std::array<ClientField, kClientFieldCount>& ClientFields();

// The dictionaries fed after a save, in the order they are fed.
inline constexpr std::array<const char*, 9> kFedClientFields = {"operator",  "property", "type",
                                                                "important", "credit",   "vocation",
                                                                "country",   "province", "city"};

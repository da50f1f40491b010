#pragma once

#include <QString>

class CADODatabase;
class QComboBox;

// The combo boxes of the client and contact dialogs that suggest dictionary values.

// Fills the combo with field `name` of every row of the statement, in the statement's order,
// and leaves its text empty. A statement that fails leaves the combo empty.
void FillDictionaryCombo(QComboBox* combo, CADODatabase* database, const QString& sql);
// Offers a value just added to its dictionary, in the users' sort order, keeping the text
// typed in the combo.
void OfferDictionaryValue(QComboBox* combo, const QString& value);

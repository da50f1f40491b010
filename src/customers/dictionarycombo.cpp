#include "customers/dictionarycombo.h"

#include "customers/dictionaryvalues.h"
#include "data/gbktext.h"

#include <QComboBox>

void FillDictionaryCombo(QComboBox* combo, CADODatabase* database, const QString& sql)
{
    combo->clear();
    const std::optional<QStringList> values = DictionaryValues(database, sql);
    if (!values)
        return;
    combo->addItems(*values);
    // Adding items selects the first one; the field starts with its own text.
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

void OfferDictionaryValue(QComboBox* combo, const QString& value)
{
    if (combo->findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        return;
    int position = 0;
    while (position < combo->count() && CompareGbk(combo->itemText(position), value) <= 0)
        ++position;
    const QString typed = combo->currentText();
    combo->insertItem(position, value);
    combo->setEditText(typed);
}

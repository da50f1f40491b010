#include "customers/dictionarycombo.h"

#include "data/adorecordset.h"
#include "data/gbktext.h"

#include <QComboBox>
#include <QStringList>

using namespace Qt::StringLiterals;

void FillDictionaryCombo(QComboBox* combo, CADODatabase* database, const QString& sql)
{
    combo->clear();
    CADORecordset recordset(database);
    if (!recordset.Open(sql))
        return;
    const int count = recordset.GetRecordCount();
    QStringList values;
    values.reserve(std::max(count, 0));
    if (count >= 1)
        recordset.MoveFirst();
    const QString name = u"name"_s;
    for (int i = 0; i < count; ++i) {
        QString value;
        recordset.GetFieldText(name, value);
        values << value;
        recordset.MoveNext();
    }
    combo->addItems(values);
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

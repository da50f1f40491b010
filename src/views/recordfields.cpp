#include "views/recordfields.h"

#include "data/adorecordset.h"

#include <QDateTime>

QVariantMap ReadFields(CADORecordset& recordset, std::span<const FieldSpec> fields)
{
    QVariantMap values;
    for (const FieldSpec& field : fields) {
        const QString name = QString::fromLatin1(field.name);
        switch (field.kind) {
        case FieldKind::Text: {
            QString text;
            recordset.GetFieldText(name, text);
            values.insert(name, text);
            break;
        }
        case FieldKind::Int:
        case FieldKind::Flag: {
            int number = 0;
            recordset.GetFieldInt(name, number);
            values.insert(name, field.kind == FieldKind::Flag ? int(number != 0) : number);
            break;
        }
        case FieldKind::Double: {
            double amount = 0.0;
            recordset.GetFieldDouble(name, amount);
            values.insert(name, amount);
            break;
        }
        case FieldKind::Day:
        case FieldKind::DateTime: {
            QDateTime stamp;
            recordset.GetFieldDate(name, stamp);
            if (field.kind == FieldKind::Day)
                values.insert(name, stamp.date());
            else
                values.insert(name, stamp);
            break;
        }
        }
    }
    return values;
}

QStringList StoredRowTexts(CADORecordset& recordset)
{
    QStringList texts;
    for (int index = 0; index < recordset.GetFieldCount(); ++index) {
        QString text;
        recordset.GetFieldText(index, text);
        texts << text;
    }
    return texts;
}

bool OpenFirstRow(CADORecordset& recordset, const QString& sql)
{
    if (!recordset.Open(sql) || recordset.GetRecordCount() < 1)
        return false;
    recordset.MoveFirst();
    return true;
}

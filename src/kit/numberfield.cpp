#include "kit/numberfield.h"

#include "kit/messages.h"

#include <QLineEdit>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

QString NumberEditText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

bool ReadNumberField(QWidget* dialog, QLineEdit* edit, const QString& name, double& value)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) {
        value = 0.0;
        return true;
    }
    bool ok = false;
    const double number = QLocale::c().toDouble(text, &ok);
    if (ok && std::isfinite(number)) {
        value = number;
        return true;
    }
    Warn(dialog, u"%1必须填写数字！"_s.arg(name));
    edit->setFocus();
    edit->selectAll();
    return false;
}

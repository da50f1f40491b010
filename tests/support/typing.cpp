#include "support/typing.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <gtest/gtest.h>

void TypeInto(QWidget* widget, const QString& text)
{
    if (!widget) {
        ADD_FAILURE() << "no widget to type into";
        return;
    }
    for (QChar c : text) {
        Qt::Key key = Qt::Key_unknown;
        QString delivered(c);
        if (c == u'\n') {
            key = Qt::Key_Return;
            delivered = QStringLiteral("\r");
        } else if (c == u'\t') {
            key = Qt::Key_Tab;
        }
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, delivered);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, delivered);
        QApplication::sendEvent(widget, &release);
    }
}

void Retype(QWidget* widget, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (!combo->lineEdit()) {
            ADD_FAILURE() << "the combo box " << combo->objectName().toStdString()
                          << " takes no typing";
            return;
        }
        combo->lineEdit()->clear();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        plain->clear();
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        rich->clear();
    } else {
        ADD_FAILURE() << "cannot type into "
                      << (widget ? widget->metaObject()->className() : "nothing");
        return;
    }
    TypeInto(widget, text);
}

void Paste(QWidget* widget, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
        edit->insert(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
        combo->lineEdit()->insert(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        plain->selectAll();
        plain->insertPlainText(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        rich->selectAll();
        rich->insertPlainText(text);
    } else {
        ADD_FAILURE() << "cannot paste into "
                      << (widget ? widget->metaObject()->className() : "nothing");
    }
}

#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include "support/typing.h"

#include <gtest/gtest.h>

class QComboBox;
class QTableWidget;

// A dialog's control by its object name; a missing one fails the test.
template <typename T> T* Find(QWidget& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

// Empties the control a record dialog shows a column in (its Control(field)) and types the text
// into it; a missing control fails the test.
template <typename Dialog>
void RetypeField(Dialog& dialog, const QString& field, const QString& text)
{
    QWidget* control = dialog.Control(field);
    ASSERT_NE(control, nullptr) << field.toStdString();
    Retype(control, text);
}

// Clicks a push button of a dialog, found by its object name, as the user does.
void Click(QWidget& parent, const QString& button);

// Clicks a row of a report list as the user does.
void ClickRow(QTableWidget* list, int row);

// The texts of a combo box's items in their order, as its drop-down list shows them.
QStringList Items(const QComboBox* box);

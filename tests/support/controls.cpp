#include "support/controls.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

void Click(QWidget& parent, const QString& button)
{
    if (auto* pushButton = Find<QPushButton>(parent, button))
        QTest::mouseClick(pushButton, Qt::LeftButton);
}

void ClickRow(QTableWidget* list, int row)
{
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->item(row, 0), nullptr) << "row " << row;
    list->scrollToItem(list->item(row, 0));
    const QRect cell = list->visualItemRect(list->item(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

#include "kit/longlistcombo.h"

#include <QComboBox>
#include <QListView>
#include <QStringListModel>

using namespace Qt::StringLiterals;

void PrepareLongList(QComboBox* box, int characters)
{
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(characters);
    box->setMaxVisibleItems(20);
    // Styles that show the whole list as a menu size it to every entry; a plain list does not.
    box->setStyleSheet(u"QComboBox { combobox-popup: 0; }"_s);
    if (auto* list = qobject_cast<QListView*>(box->view()))
        list->setUniformItemSizes(true);
}

void SetLongListEntries(QComboBox* box, const QStringList& entries)
{
    auto* list = qobject_cast<QStringListModel*>(box->model());
    if (!list) {
        list = new QStringListModel(box);
        box->setModel(list);
    }
    list->setStringList(entries);
    box->setCurrentIndex(-1);
}

#pragma once

#include "kit/pictureframe.h"
#include "schedule/cataloguedlg.h"
#include "schedule/catalogueitems.h"
#include "schedule/cataloguepicturelist.h"
#include "support/recordviews.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTest>

#include <memory>

// A catalogue dialog on screen over a fresh data file, with a picture home directory of its
// own whose name has capitals, spaces and Chinese in it. The open-file dialog is replaced by
// the list of files in m_chosen.
class CatalogueTest : public RecordViewsTest
{
protected:
    CatalogueTest() : m_home(DataFile().Dir() + u"/My Pics 图片/"_s) { QDir().mkpath(m_home); }

    template <typename Dialog = CMaterialDlg> void Open(const QString& home)
    {
        m_dialog = std::make_unique<Dialog>(m_db.get(), home);
        m_dialog->SetPictureChooser([this](QWidget*, const QString&) { return m_chosen; });
        m_dialog->resize(1100, 600);
        m_dialog->show();
    }
    template <typename Dialog = CMaterialDlg> void Open() { Open<Dialog>(m_home); }

    // Clicks an item row as the user does.
    void ClickItem(int row)
    {
        QTableView* list = m_dialog->ItemList();
        const QModelIndex index = list->model()->index(row, 0);
        ASSERT_TRUE(index.isValid()) << "row " << row;
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    void ClickSort(const QString& radio)
    {
        if (auto* button = Find<QAbstractButton>(*m_dialog, radio))
            QTest::mouseClick(button, Qt::LeftButton);
    }
    void ClickPicture(int row) { ClickRow(m_dialog->PictureList(), row); }
    void ClickFrame()
    {
        QTest::mouseClick(m_dialog->Frame(), Qt::LeftButton, {},
                          m_dialog->Frame()->rect().center());
    }

    // The texts of one column of the item list, top to bottom.
    QStringList ItemColumn(int column) const
    {
        QStringList texts;
        const CCatalogueItemModel& items = m_dialog->Items();
        for (int row = 0; row < items.Count(); ++row)
            texts << items.At(row).texts.value(column);
        return texts;
    }
    QStringList PicturePaths() const
    {
        QStringList paths;
        for (int row = 0; row < m_dialog->PictureList()->rowCount(); ++row)
            paths << m_dialog->PictureList()->PathAt(row);
        return paths;
    }

    // A picture file of the given size under the home directory.
    QString Picture(const QString& relative, QSize size = QSize(200, 100)) const
    {
        const QString path = m_home + relative;
        QDir().mkpath(QFileInfo(path).path());
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        EXPECT_TRUE(image.save(path)) << path.toStdString();
        return path;
    }

    void Type(const QString& field, const QString& text) { RetypeField(*m_dialog, field, text); }

    QString m_home;
    QStringList m_chosen;
    std::unique_ptr<CCatalogueDlg> m_dialog;
};

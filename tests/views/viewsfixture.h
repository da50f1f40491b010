#pragma once

#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "support/tempdata.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/recordcategory.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

// The record views of the main window over a fresh data file: the main list above, the lower
// pane below (swapped on request as the frame does), and every record dialog replaced by a
// recorder of the requests it gets.
class ViewsTest : public ::testing::Test
{
protected:
    ViewsTest() : m_db(m_file.Open()), m_doc(m_db.get())
    {
        m_window.resize(900, 700);
        m_main = new CVantrelView(m_doc, &m_window);
        m_lower = new CMiddleListView(m_doc, &m_window);
        QObject::connect(&m_doc, &CVantrelDoc::BottomViewRequested, &m_window,
                         [this](int kind) { Swap(kind); });
    }

    void RegisterAllDialogs()
    {
        for (RecordDialog dialog :
             {RecordDialog::Client, RecordDialog::Contact, RecordDialog::Purchase,
              RecordDialog::Sale, RecordDialog::PurchaseDetail, RecordDialog::SaleDetail,
              RecordDialog::Note, RecordDialog::Appointment, RecordDialog::Reminder,
              RecordDialog::AddressBook})
            m_doc.Dialogs().Register(dialog, [this](const CRecordRequest& request, QWidget*) {
                m_requests.push_back(request);
            });
    }

    // The frame's swap: the old lower view goes, a new empty one of the wanted kind comes.
    void Swap(int kind)
    {
        delete m_lower;
        m_lower = nullptr;
        if (kind == BottomView::kText)
            m_lower = new CNoteView(m_doc, &m_window);
        else
            m_lower = new CMiddleListView(m_doc, &m_window);
    }

    // Rows and columns as a filler would set them up; the last column holds the number.
    static void Fill(CRecordListView& view, const QStringList& titles,
                     const std::vector<QStringList>& rows)
    {
        view.List().Clear();
        for (const QString& title : titles)
            view.List().InsertColumn(-1, title, Qt::AlignLeft, title.isEmpty() ? 0 : 100);
        for (const QStringList& row : rows)
            view.List().AppendRow(row);
    }

    void FillMain(int category, const QString& query, const QStringList& titles,
                  const std::vector<QStringList>& rows)
    {
        m_main->SetCategory(category);
        m_main->SetCurrentQuery(query);
        Fill(*m_main, titles, rows);
    }

    // Right-clicks a row (or empty space below the rows when row is -1) and picks a menu entry
    // of the real popup; an empty name or a disabled entry closes the menu.
    void RightClick(CRecordListView& view, int row, const QString& entry)
    {
        view.show();
        const QPoint point = row >= 0 ? view.visualRect(view.model()->index(row, 0)).center()
                                      : QPoint(5, view.viewport()->height() - 3);
        QTimer::singleShot(0, &view, [entry] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* action = entry.isEmpty() ? nullptr : menu->findChild<QAction*>(entry);
            // A disabled entry cannot be chosen: the menu is closed instead.
            if (!action || !action->isEnabled()) {
                menu->close();
                return;
            }
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                view.viewport()->mapToGlobal(point));
        QApplication::sendEvent(view.viewport(), &event);
    }

    void LeftClick(CRecordListView& view, int row)
    {
        view.show();
        const QRect cell = view.visualRect(view.model()->index(row, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    }

    void DoubleClick(CRecordListView& view, int row)
    {
        view.show();
        const QPoint point = row >= 0 ? view.visualRect(view.model()->index(row, 0)).center()
                                      : QPoint(5, view.viewport()->height() - 3);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, point);
    }

    CMiddleListView* Lower() const { return qobject_cast<CMiddleListView*>(m_lower); }
    static QStringList RowTexts(const CRecordListModel& list, int row)
    {
        QStringList texts;
        for (int column = 0; column < list.GetColumnCount(); ++column)
            texts << list.GetItemText(row, column);
        return texts;
    }

    TempDataFile m_file;
    std::unique_ptr<CADODatabase> m_db;
    CVantrelDoc m_doc;
    QWidget m_window;
    CVantrelView* m_main;
    QWidget* m_lower;
    MessageRecorder m_messages;
    std::vector<CRecordRequest> m_requests;
};

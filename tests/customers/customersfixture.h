#pragma once

#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "support/tempdata.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/recordcategory.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

// A fresh data file with the record views of the main window over it: the main list above and
// the lower pane below, swapped on request as the frame does. Messages are recorded.
class CustomersTest : public ::testing::Test
{
protected:
    CustomersTest() : m_db(m_file.Open()), m_doc(m_db.get())
    {
        m_window.resize(900, 700);
        m_main = new CVantrelView(m_doc, &m_window);
        m_lower = new CMiddleListView(m_doc, &m_window);
        QObject::connect(&m_doc, &CVantrelDoc::BottomViewRequested, &m_window, [this](int kind) {
            delete m_lower;
            if (kind == BottomView::kText)
                m_lower = new CNoteView(m_doc, &m_window);
            else
                m_lower = new CMiddleListView(m_doc, &m_window);
        });
    }

    QString Value(const QString& sql) const { return m_file.QueryValue(sql); }
    int Count(const QString& sql) const { return Value(u"SELECT count(*) FROM "_s + sql).toInt(); }

    static QStringList RowTexts(const CRecordListModel& list, int row)
    {
        QStringList texts;
        for (int column = 0; column < list.GetColumnCount(); ++column)
            texts << list.GetItemText(row, column);
        return texts;
    }
    static QStringList ColumnTitles(const CRecordListModel& list)
    {
        QStringList titles;
        for (int column = 0; column < list.GetColumnCount(); ++column)
            titles << list.ColumnAt(column).title;
        return titles;
    }

    template <typename T> static T* Find(QWidget& parent, const QString& name)
    {
        T* child = parent.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    static void Click(QWidget& parent, const QString& button)
    {
        if (auto* pushButton = Find<QPushButton>(parent, button))
            QTest::mouseClick(pushButton, Qt::LeftButton);
    }
    // Clicks a row of a report list as the user does.
    static void ClickRow(QTableWidget* list, int row)
    {
        list->scrollToItem(list->item(row, 0));
        const QRect cell = list->visualItemRect(list->item(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    TempDataFile m_file;
    std::unique_ptr<CADODatabase> m_db;
    CVantrelDoc m_doc;
    QWidget m_window;
    CVantrelView* m_main;
    QWidget* m_lower;
    MessageRecorder m_messages;
};

#pragma once

#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "support/controls.h"
#include "support/datafixture.h"
#include "support/tempdata.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

// The record views of the main window over a fresh database, with the categories of rows the
// features register: the main list above and the
// lower pane below, swapped on the document's request as the frame swaps it (a new, empty view
// of the wanted kind; nothing when the pane holds that kind already). Messages are recorded.
// A TEST_F runs on a data file; a TEST_P on a database of its backend parameter, as the data
// tests do (support/datafixture.h):
//     TEST_P(ClientDlgTest, …) { … }
//     INSTANTIATE_TEST_SUITE_P(, ClientDlgTest, EachBackend(), BackendName);
class RecordViewsTest : public ::testing::TestWithParam<DataBackend>
{
protected:
    RecordViewsTest();
    ~RecordViewsTest() override;

    // The data file of a test that runs on SQLite alone, for its path and folder.
    const TempDataFile& DataFile() const;

    // Replaces every dialog the categories open by a recorder of the requests it gets
    // (m_requests).
    void RecordDialogRequests();

    // The lower pane as the secondary list; null while it holds the text view.
    CMiddleListView* Lower() const { return qobject_cast<CMiddleListView*>(m_lower); }
    CNoteView* TextView() const { return qobject_cast<CNoteView*>(m_lower); }

    // Rows and columns as a filler sets them up; the last column holds the record number.
    static void Fill(CRecordListView& view, const QStringList& titles,
                     const std::vector<QStringList>& rows);
    void FillMain(int category, const QString& query, const QStringList& titles,
                  const std::vector<QStringList>& rows);

    // Mouse clicks on a row of a list as the user makes them; row -1 is the empty space below
    // the rows.
    static void LeftClick(CRecordListView& view, int row);
    static void DoubleClick(CRecordListView& view, int row);
    // Right-clicks and picks a named entry of the real context menu. An empty name closes the
    // menu; so does a disabled entry, which cannot be chosen. A name the menu lacks fails.
    static void RightClick(CRecordListView& view, int row, const QString& entry);

    static QStringList RowTexts(const CRecordListModel& list, int row);
    static QStringList ColumnTitles(const CRecordListModel& list);

    // The first column of the first row of a statement on the database.
    QString Value(const QString& sql) const { return m_file.QueryValue(sql); }
    // The number of rows of "SELECT count(*) FROM <what>", e.g. "client WHERE no = 1".
    int Count(const QString& what) const;

    std::unique_ptr<TestDatabase> m_database;
    // Set up and inspected outside the access layer, in SQL both backends accept.
    TestDatabase& m_file;
    std::unique_ptr<CADODatabase> m_db;
    CVantrelDoc m_doc;
    QWidget m_window;
    CVantrelView* m_main;
    QWidget* m_lower;
    MessageRecorder m_messages;
    std::vector<CRecordRequest> m_requests;

private:
    void SwapLowerPane(int kind);
};

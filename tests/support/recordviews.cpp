#include "support/recordviews.h"

#include "customers/customerrecords.h"
#include "schedule/schedulerecords.h"
#include "trade/traderecords.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

// The database of the running test: of its backend when it has one, else a data file.
std::unique_ptr<TestDatabase> MakeDatabase()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (test && test->value_param())
        return RecordViewsTest::GetParam().makeDatabase();
    return std::make_unique<TempDataFile>();
}

} // namespace

RecordViewsTest::RecordViewsTest()
    : m_database(MakeDatabase()), m_file(*m_database), m_db(m_file.Open()), m_doc(m_db.get())
{
    // The user holds every permission.
    m_doc.SetPermissionTest([](int) { return true; });
    // The categories of the main list, as the features register them in the main window.
    RegisterCustomerCategories(m_doc);
    RegisterTradeCategories(m_doc);
    RegisterScheduleCategories(m_doc);
    m_window.resize(900, 700);
    m_main = new CVantrelView(m_doc, &m_window);
    m_lower = new CMiddleListView(m_doc, &m_window);
    QObject::connect(&m_doc, &CVantrelDoc::BottomViewRequested, &m_window,
                     [this](int kind) { SwapLowerPane(kind); });
}

RecordViewsTest::~RecordViewsTest() = default;

const TempDataFile& RecordViewsTest::DataFile() const
{
    const auto* file = dynamic_cast<const TempDataFile*>(m_database.get());
    if (!file)
        qFatal("a test that needs a data file runs on SQLite only");
    return *file;
}

void RecordViewsTest::RecordDialogRequests()
{
    for (RecordDialog dialog : m_doc.Categories().Dialogs())
        m_doc.Dialogs().Register(dialog, [this](const CRecordRequest& request, QWidget*) {
            m_requests.push_back(request);
        });
}

void RecordViewsTest::SwapLowerPane(int kind)
{
    if (kind != BottomView::kList && kind != BottomView::kText)
        return;
    const int shown = TextView() ? BottomView::kText : BottomView::kList;
    if (kind == shown)
        return;
    delete m_lower;
    m_lower = nullptr;
    if (kind == BottomView::kText)
        m_lower = new CNoteView(m_doc, &m_window);
    else
        m_lower = new CMiddleListView(m_doc, &m_window);
}

void RecordViewsTest::Fill(CRecordListView& view, const QStringList& titles,
                           const std::vector<QStringList>& rows)
{
    view.List().Clear();
    for (const QString& title : titles)
        view.List().InsertColumn(-1, title, Qt::AlignLeft, title.isEmpty() ? 0 : 100);
    for (const QStringList& row : rows)
        view.List().AppendRow(row);
}

void RecordViewsTest::FillMain(int category, const QString& query, const QStringList& titles,
                               const std::vector<QStringList>& rows)
{
    m_main->SetCategory(category);
    m_main->SetCurrentQuery(query);
    Fill(*m_main, titles, rows);
}

namespace {

QPoint RowPoint(CRecordListView& view, int row)
{
    return row >= 0 ? view.visualRect(view.model()->index(row, 0)).center()
                    : QPoint(5, view.viewport()->height() - 3);
}

} // namespace

void RecordViewsTest::LeftClick(CRecordListView& view, int row)
{
    view.show();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, RowPoint(view, row));
}

void RecordViewsTest::DoubleClick(CRecordListView& view, int row)
{
    view.show();
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, RowPoint(view, row));
}

void RecordViewsTest::RightClick(CRecordListView& view, int row, const QString& entry)
{
    view.show();
    const QPoint point = RowPoint(view, row);
    // The menu runs its own event loop while it is open; the entry is picked from there.
    bool shown = false;
    QTimer pick;
    pick.setSingleShot(true);
    QObject::connect(&pick, &QTimer::timeout, &pick, [entry, &shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no context menu";
        shown = true;
        QAction* action = entry.isEmpty() ? nullptr : menu->findChild<QAction*>(entry);
        if (!entry.isEmpty() && !action)
            ADD_FAILURE() << "the context menu has no entry " << entry.toStdString();
        if (!action || !action->isEnabled()) {
            menu->close();
            return;
        }
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    pick.start(0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(view.viewport(), &event);
    EXPECT_TRUE(shown) << "the context menu did not open";
}

QStringList RecordViewsTest::RowTexts(const CRecordListModel& list, int row)
{
    QStringList texts;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        texts << list.GetItemText(row, column);
    return texts;
}

QStringList RecordViewsTest::ColumnTitles(const CRecordListModel& list)
{
    QStringList titles;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        titles << list.ColumnAt(column).title;
    return titles;
}

int RecordViewsTest::Count(const QString& what) const
{
    return Value(u"SELECT count(*) FROM "_s + what).toInt();
}

#include "views/vantreldoc.h"

#include "data/adodatabase.h"
#include "data/changenotices.h"
#include "kit/messages.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/statchartview.h"
#include "views/vantrelview.h"

using namespace Qt::StringLiterals;

CVantrelDoc::CVantrelDoc(CADODatabase* database, QObject* parent) : QObject(parent), m_pDb(database)
{
    ListenTo(database);
}

void CVantrelDoc::SetDatabase(CADODatabase* database)
{
    m_pDb = database;
    ListenTo(database);
}

void CVantrelDoc::ListenTo(CADODatabase* database)
{
    disconnect(m_notices);
    if (database)
        m_notices = connect(&database->ChangeNotices(), &CChangeNotices::TableChanged, this,
                            &CVantrelDoc::TableChanged);
}

CVantrelView* CVantrelDoc::MainList() const
{
    return m_mainList;
}

CMiddleListView* CVantrelDoc::MiddleList() const
{
    return m_middleList;
}

CNoteView* CVantrelDoc::NoteView() const
{
    return m_noteView;
}

CStatChartView* CVantrelDoc::StatChart() const
{
    return m_statChart;
}

void CVantrelDoc::RegisterView(CVantrelView* view)
{
    m_mainList = view;
}

void CVantrelDoc::RegisterView(CMiddleListView* view)
{
    m_middleList = view;
}

void CVantrelDoc::RegisterView(CNoteView* view)
{
    m_noteView = view;
}

void CVantrelDoc::RegisterView(CStatChartView* view)
{
    m_statChart = view;
}

void CVantrelDoc::ShowBottomView(int kind)
{
    m_nBottomView = kind;
    Q_EMIT BottomViewRequested(kind);
}

void CVantrelDoc::ShowStatChart(const StatChartFigures& figures)
{
    ShowBottomView(BottomView::kChart);
    if (m_statChart)
        m_statChart->SetFigures(figures);
}

void CVantrelDoc::SetInfoText(const QString& text)
{
    // Always passed on: the frame may have set the bar itself meanwhile, and the bar ignores
    // a text it already shows.
    m_strInfo = text;
    Q_EMIT InfoTextChanged(text);
}

bool CVantrelDoc::CheckPermission(int command, QWidget* parent) const
{
    if (command != 0 && m_permitted && m_permitted(command))
        return true;
    Warn(parent, u"您还没有这个权限！"_s, u"无权限"_s);
    return false;
}

#pragma once

#include "views/categoryregistry.h"
#include "views/listpanes.h"
#include "views/recorddialogs.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CADODatabase;
class CMiddleListView;
class CNoteView;
class CSkinEngine;
class CStatChartView;
class CVantrelView;
class QWidget;
struct StatChartFigures;

// The program's one document: where the record views meet the frame. It knows the open data
// connection, the three views (each registers itself when it is made; a view that is gone
// reads as null), the categories of rows the features registered and the record dialogs the
// lists open. The frame swaps the lower pane and
// shows the info bar's text when the document asks for it.
class CVantrelDoc : public QObject
{
    Q_OBJECT
public:
    explicit CVantrelDoc(CADODatabase* database = nullptr, QObject* parent = nullptr);

    CADODatabase* Database() const { return m_pDb; }
    void SetDatabase(CADODatabase* database);

    CCategoryRegistry& Categories() { return m_categories; }
    const CCategoryRegistry& Categories() const { return m_categories; }
    // What the views draw their menus with; null draws them plain.
    CSkinEngine* Skin() const { return m_pSkin; }
    void SetSkin(CSkinEngine* skin) { m_pSkin = skin; }

    CRecordDialogs& Dialogs() { return m_dialogs; }
    const CRecordDialogs& Dialogs() const { return m_dialogs; }

    CVantrelView* MainList() const;
    CMiddleListView* MiddleList() const;
    CNoteView* NoteView() const;
    CStatChartView* StatChart() const;
    void RegisterView(CVantrelView* view);
    void RegisterView(CMiddleListView* view);
    void RegisterView(CNoteView* view);
    void RegisterView(CStatChartView* view);

    // Puts the secondary list (BottomView::kList), the text view (BottomView::kText) or the
    // statistics chart (BottomView::kChart) into the lower pane; the frame does the swap while
    // this call runs.
    void ShowBottomView(int kind);
    // The kind last put into the lower pane.
    int BottomViewKind() const { return m_nBottomView; }
    // Puts the chart into the lower pane with these figures.
    void ShowStatChart(const StatChartFigures& figures);

    QString InfoText() const { return m_strInfo; }
    // Shows a text in the frame's info bar.
    void SetInfoText(const QString& text);

    // Hands a menu command (CommandId) to the frame, which runs it with its permission test
    // once the current event has been handled.
    void PostCommand(int id) { Q_EMIT CommandPosted(id); }

    // Whether the signed-in user may run a menu command (CommandId). The frame answers it;
    // until it does, nothing is permitted.
    using PermissionTest = std::function<bool(int command)>;
    void SetPermissionTest(PermissionTest test) { m_permitted = std::move(test); }
    // The record lists add, modify and delete a category's records only where its menu
    // command is permitted: true when it is, else false after "您还没有这个权限！" under
    // "无权限", as the command itself refuses.
    bool CheckPermission(int command, QWidget* parent) const;

Q_SIGNALS:
    // Another workstation changed a table of the database (CADODatabase::ChangeNotices).
    void TableChanged(const QString& table);
    void BottomViewRequested(int kind);
    void InfoTextChanged(const QString& text);
    void CommandPosted(int id);

private:
    void ListenTo(CADODatabase* database);

    CADODatabase* m_pDb;
    QMetaObject::Connection m_notices;
    CCategoryRegistry m_categories;
    CSkinEngine* m_pSkin = nullptr;
    CRecordDialogs m_dialogs;
    QPointer<CVantrelView> m_mainList;
    QPointer<CMiddleListView> m_middleList;
    QPointer<CNoteView> m_noteView;
    QPointer<CStatChartView> m_statChart;
    int m_nBottomView = BottomView::kList; // as the frame starts
    QString m_strInfo;
    PermissionTest m_permitted;
};

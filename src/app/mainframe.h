#pragma once

#include <QMainWindow>

#include <map>

class CCommandRouter;
class CGfxOutBarCtrl;
class CInfoBar;
class CMiddleListView;
class CNoteView;
class CStatChartView;
class CVantrelApp;
class CVantrelDoc;
class CVantrelView;
class QAction;
class QSplitter;

// The single top-level window: the navigation bar on the left, the main record list at the
// top right and, below it, the secondary list or the text view; the info bar across the top
// and the status bar at the bottom. Menu commands and navigation clicks go through the command
// router, which tests the signed-in user's permission first.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kBottomList = 1;
    static constexpr int kBottomText = 2;
    static constexpr int kBottomChart = 3;

    explicit CMainFrame(CVantrelApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVantrelApp& App() const { return m_app; }
    CCommandRouter& Router() const { return *m_router; }
    CVantrelDoc* Document() const { return m_doc; }
    CInfoBar* InfoBar() const { return m_infoBar; }
    CGfxOutBarCtrl* NavigationBar() const { return m_navigationBar; }
    QAction* Action(int commandId) const;

    // Puts the secondary list (kBottomList), the text view (kBottomText) or the statistics
    // chart (kBottomChart) into the lower pane.
    void ShowBottomView(int kind);
    QWidget* BottomView() const;
    CVantrelView* MainView() const { return m_mainView; }
    CMiddleListView* ListView() const { return m_listView; }
    CNoteView* TextView() const { return m_textView; }
    CStatChartView* ChartView() const { return m_chartView; }

    // Shows the window as the user left it when the program last closed (windowplace.h);
    // closing it remembers that place.
    void ShowAtSavedPlace();

    // The navigation bar's notification (message 1124).
    void OnNavigationNotify(int code, int param);
    int LastNavigationFolder() const { return m_nLastFolder; }
    int LastNavigationItem() const { return m_nLastItem; }

    int m_nBottomView = kBottomList;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildClientArea();
    void CreateViews();
    void RegisterOwnCommands();
    void RegisterFeatures();
    void UpdateAvailability();

    CVantrelApp& m_app;
    CCommandRouter* m_router;
    CVantrelDoc* m_doc;
    CInfoBar* m_infoBar = nullptr;
    CGfxOutBarCtrl* m_navigationBar = nullptr;
    QSplitter* m_outerSplitter = nullptr;
    QSplitter* m_innerSplitter = nullptr;
    CVantrelView* m_mainView = nullptr;
    CMiddleListView* m_listView = nullptr;
    CNoteView* m_textView = nullptr;
    CStatChartView* m_chartView = nullptr;
    std::map<int, QAction*> m_actions;
    int m_nLastFolder = 0;
    int m_nLastItem = 0;
    bool m_bPanesSized = false;
};

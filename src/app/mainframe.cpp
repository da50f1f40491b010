#include "app/mainframe.h"

#include "app/aboutdlg.h"
#include "app/backupcommands.h"
#include "app/changepassworddlg.h"
#include "app/commandrouter.h"
#include "app/contactinfo.h"
#include "app/mainwindowfactory.h"
#include "app/powerdlg.h"
#include "app/printcommands.h"
#include "app/settingsdlg.h"
#include "app/upgradecommands.h"
#include "app/uploaddlg.h"
#include "app/vantrelapp.h"
#include "app/windowplace.h"
#include "customers/contactcommands.h"
#include "customers/customercommands.h"
#include "kit/appicons.h"
#include "kit/gfxoutbarctrl.h"
#include "kit/infobar.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "kit/skinengine.h"
#include "schedule/schedulecommands.h"
#include "trade/tradecommands.h"
#include "views/featurecontext.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/statchartview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kNavigationIdealWidth = 130;
constexpr int kNavigationMinimumWidth = 100;
// The main list takes just over six tenths of the window's height.
constexpr double kMainListShare = 0.6000000000000001;

} // namespace

CMainFrame::CMainFrame(CVantrelApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_router(new CCommandRouter(app, this)),
      m_doc(new CVantrelDoc(app.Database(), this))
{
    setObjectName(u"MainFrame"_s);
    setWindowIcon(ProgramIcon());
    m_doc->SetSkin(&app.SkinEngine());
    BuildMenus();
    statusBar()->showMessage(u"就绪"_s);
    setWindowTitle(MainWindowCaption(m_app.Session().User()));
    // The record lists change records only as far as the menu command of their kind may.
    m_doc->SetPermissionTest([this](int id) {
        const CommandInfo* command = CommandById(id);
        return command && m_router->Permitted(*command);
    });
    m_app.SetPicturePath(m_app.Settings().ReadSetting(u"PicPath"_s));
    BuildClientArea();
    RegisterOwnCommands();
    RegisterFeatures();
    connect(m_router, &CCommandRouter::HandlersChanged, this, &CMainFrame::UpdateAvailability);
    UpdateAvailability();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(int commandId) const
{
    const auto found = m_actions.find(commandId);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::BuildMenus()
{
    QMenu* menu = nullptr;
    QString current;
    for (const CommandInfo& command : Commands()) {
        const QString title = QString::fromUtf16(command.menu);
        if (title != current) {
            menu = menuBar()->addMenu(title);
            current = title;
        }
        if (command.separatorBefore)
            menu->addSeparator();
        QAction* action = menu->addAction(QString::fromUtf16(command.entry));
        action->setObjectName(u"ID_%1"_s.arg(command.id));
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { m_router->Run(id); });
        m_actions[id] = action;
    }
}

void CMainFrame::BuildClientArea()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_infoBar = new CInfoBar(central);
    m_infoBar->SetBackgroundColor(QColor(169, 169, 196));
    m_infoBar->SetText(u"信息提示栏"_s);
    layout->addWidget(m_infoBar);

    m_outerSplitter = new QSplitter(Qt::Horizontal, central);
    m_outerSplitter->setObjectName(u"OuterSplitter"_s);
    m_outerSplitter->setChildrenCollapsible(false);
    layout->addWidget(m_outerSplitter, 1);

    m_navigationBar =
        new CGfxOutBarCtrl(m_outerSplitter, CGfxOutBarCtrl::kMainFrameFlags, &m_app.SkinEngine());
    m_navigationBar->setObjectName(u"NavigationBar"_s);
    m_navigationBar->setMinimumWidth(kNavigationMinimumWidth);
    COutBarImageList icons(QSize(32, 32));
    for (int position = 0; position < kNavigationIconCount; ++position)
        icons.Add(NavigationIcon(position));
    m_navigationBar->SetImageList(icons, CGfxOutBarCtrl::kLargeImageList);
    m_navigationBar->SetAnimationDelay(20);
    m_navigationBar->SetAnimationPeriod(200);
    for (const NavigationFolder& folder : NavigationFolders()) {
        const int index = m_navigationBar->AddFolder(QString::fromUtf16(folder.name));
        for (const NavigationItem& item : folder.items)
            m_navigationBar->InsertItem(index, -1, QString::fromUtf16(item.text), item.icon,
                                        item.message);
    }
    m_navigationBar->OpenFolder(0);
    connect(m_navigationBar, &CGfxOutBarCtrl::Notify, this, &CMainFrame::OnNavigationNotify);

    m_innerSplitter = new QSplitter(Qt::Vertical, m_outerSplitter);
    m_innerSplitter->setObjectName(u"InnerSplitter"_s);
    CreateViews();

    m_outerSplitter->setStretchFactor(0, 0);
    m_outerSplitter->setStretchFactor(1, 1);
    m_outerSplitter->setSizes({kNavigationIdealWidth, 1000});
    setCentralWidget(central);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_bPanesSized)
        return;
    // The panes are shared out once the window has its real (maximised) size.
    m_bPanesSized = true;
    // The share is of the window's height; the lower pane takes what the splitter has left.
    const int mainHeight = static_cast<int>(height() * kMainListShare);
    const int rest = m_innerSplitter->height() - m_innerSplitter->handleWidth() - mainHeight;
    m_innerSplitter->setSizes({mainHeight, std::max(0, rest)});
}

void CMainFrame::ShowAtSavedPlace()
{
    QList<QRect> screens;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const WindowPlace place = ReadWindowPlace(m_app.Settings().IniPath(), screens);
    setGeometry(place.normal);
    if (place.maximized)
        showMaximized();
    else
        showNormal();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    const Qt::WindowStates state = windowState();
    const bool normal =
        !(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const QRect rect = normal ? geometry() : normalGeometry();
    if (rect.isValid())
        WriteWindowPlace(m_app.Settings().IniPath(), {rect, state.testFlag(Qt::WindowMaximized)});
}

void CMainFrame::OnNavigationNotify(int code, int param)
{
    if (code != CGfxOutBarCtrl::kNotifyItemClicked)
        return;
    m_nLastFolder = m_navigationBar->OpenFolderIndex();
    m_nLastItem = param;
    const int message = NavigationMessage(m_nLastFolder, m_nLastItem);
    if (message != 0)
        m_router->Post(message);
}

void CMainFrame::RegisterFeatures()
{
    const CFeatureContext context{m_app, *m_doc, *m_router, this};
    RegisterCustomerCommands(context);
    RegisterContactCommands(context);
    RegisterScheduleCommands(context);
    RegisterTradeCommands(context);
}

void CMainFrame::RegisterOwnCommands()
{
    CCommandRouter& router = *m_router;
    router.SetHandler(ID_APP_EXIT, [this] { close(); });
    RegisterBackupCommands(m_app, router, this);
    RegisterUploadCommand(m_app, router, this);
    RegisterPrintCommands(*m_doc, router, this);
    router.SetHandler(ID_APP_ABOUT, [this] {
        CAboutDlg dialog(this);
        dialog.exec();
    });
    router.SetHandler(ID_HELP_CONTENTS, [this] {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(m_app.Settings().SharedPath(u"help/index.html"_s)));
    });
    router.SetHandler(ID_HELP_SITE,
                      [] { QDesktopServices::openUrl(QUrl(QString::fromUtf16(kVantrelWebSite))); });
    router.SetHandler(ID_HELP_MAIL, [] {
        QDesktopServices::openUrl(QUrl(u"mailto:"_s + QString::fromUtf16(kVantrelSupportMail)));
    });
    router.SetHandler(ID_MANAGE_PASSWORD, [this] {
        CChangePasswordDlg dialog(m_app, this);
        dialog.exec();
    });
    router.SetHandler(ID_MANAGE_SETTINGS, [this] {
        CSettingsDlg dialog(m_app, this);
        dialog.exec();
    });
    router.SetHandler(ID_MANAGE_POWER, [this] {
        CPowerDlg dialog(m_app.Database(), this);
        dialog.exec();
    });
    RegisterUpgradeCommands(m_app, router, this);
}

// Entries whose dialogs do not exist yet stay disabled.
void CMainFrame::UpdateAvailability()
{
    for (const auto& [id, action] : m_actions)
        action->setEnabled(m_router->HasHandler(id));
    const auto folders = NavigationFolders();
    for (int folder = 0; folder < int(folders.size()); ++folder) {
        for (int item = 0; item < int(folders[folder].items.size()); ++item) {
            const CommandInfo* command = CommandByMessage(folders[folder].items[item].message);
            m_navigationBar->SetItemEnabled(folder, item,
                                            command && m_router->HasHandler(command->id));
        }
    }
}

void CMainFrame::CreateViews()
{
    m_mainView = new CVantrelView(*m_doc, m_innerSplitter);
    m_mainView->setObjectName(u"MainList"_s);
    m_listView = new CMiddleListView(*m_doc, m_innerSplitter);
    m_listView->setObjectName(u"SecondaryList"_s);
    m_textView = new CNoteView(*m_doc, m_innerSplitter);
    m_textView->setObjectName(u"TextView"_s);
    m_textView->hide();
    m_chartView = new CStatChartView(*m_doc, m_innerSplitter);
    m_chartView->hide();
    m_innerSplitter->setChildrenCollapsible(false);
    connect(m_doc, &CVantrelDoc::BottomViewRequested, this, &CMainFrame::ShowBottomView);
    connect(m_doc, &CVantrelDoc::InfoTextChanged, m_infoBar, &CInfoBar::SetText);
    connect(m_doc, &CVantrelDoc::CommandPosted, m_router, &CCommandRouter::PostCommand);

    // F5 reads the main list again, after another workstation's change or whenever wanted.
    auto* refresh = new QAction(u"刷新"_s, this);
    refresh->setObjectName(u"ID_VIEW_REFRESH"_s);
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    refresh->setShortcutContext(Qt::WindowShortcut);
    addAction(refresh);
    connect(refresh, &QAction::triggered, m_mainView, &CVantrelView::Refresh);
}

QWidget* CMainFrame::BottomView() const
{
    switch (m_nBottomView) {
    case kBottomText:
        return m_textView;
    case kBottomChart:
        return m_chartView;
    default:
        return m_listView;
    }
}

void CMainFrame::ShowBottomView(int kind)
{
    if ((kind != kBottomList && kind != kBottomText && kind != kBottomChart) ||
        kind == m_nBottomView)
        return;
    // The view put in takes the pane empty, at the height the old one had.
    QWidget* old = BottomView();
    QList<int> sizes = m_innerSplitter->sizes();
    const int height = old->height();
    old->hide();
    m_nBottomView = kind;
    QWidget* shown = BottomView();
    // The chart comes with the figures its filler gives it.
    if (kind == kBottomList)
        m_listView->Reset();
    else if (kind == kBottomText)
        m_textView->clear();
    shown->show();
    sizes[m_innerSplitter->indexOf(old)] = 0;
    sizes[m_innerSplitter->indexOf(shown)] = height;
    m_innerSplitter->setSizes(sizes);
    m_mainView->setFocus();
}

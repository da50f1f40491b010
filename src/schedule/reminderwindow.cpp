#include "schedule/reminderwindow.h"

#include "data/formats.h"
#include "kit/dialogbuttons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The whole text of an entry: an appointment names its contact and place first.
QString FullText(const DueEntry& entry)
{
    QStringList parts;
    if (!entry.contact.isEmpty())
        parts << u"联系人："_s + entry.contact;
    if (!entry.place.isEmpty())
        parts << u"地点："_s + entry.place;
    if (!entry.content.isEmpty())
        parts << entry.content;
    return parts.join(u"\n"_s);
}

// A line of the list shows the start of a long text on one line.
QString LineText(const QString& text)
{
    constexpr qsizetype kShown = 200;
    QString line = text.left(kShown);
    line.replace(u'\n', u' ');
    return text.size() > kShown ? line + u"…"_s : line;
}

} // namespace

CReminderWindow::CReminderWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_list(new QTreeWidget(this)),
      m_text(new QPlainTextEdit(this)),
      m_acknowledge(NewDialogButton(u"知道了"_s, u"IDC_ACKNOWLEDGE"_s, this)),
      m_snooze(NewDialogButton(u"稍后提醒"_s, u"IDC_SNOOZE"_s, this)),
      m_open(NewDialogButton(u"打开"_s, u"IDC_OPEN"_s, this))
{
    setObjectName(u"ReminderWindow"_s);
    setWindowTitle(u"提醒"_s);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_list->setObjectName(u"IDC_DUELIST"_s);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({u"类别"_s, u"时间"_s, u"内容"_s});
    m_list->setColumnWidth(0, 50);
    m_list->setColumnWidth(1, 300);
    m_list->header()->setStretchLastSection(true);
    m_text->setObjectName(u"IDC_DUETEXT"_s);
    m_text->setReadOnly(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_acknowledge);
    buttons->addWidget(m_snooze);
    buttons->addWidget(m_open);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    resize(640, 320);

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { ShowCurrentText(); });
    connect(m_acknowledge, &QPushButton::clicked, this,
            [this] { ActOnCurrent(&CReminderWindow::Acknowledged); });
    connect(m_snooze, &QPushButton::clicked, this,
            [this] { ActOnCurrent(&CReminderWindow::Snoozed); });
    connect(m_open, &QPushButton::clicked, this,
            [this] { ActOnCurrent(&CReminderWindow::OpenRequested); });
    // A modal dialog takes the focus when it opens and gives it back when it closes.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (isVisible())
            FollowModalDialog();
    });
}

void CReminderWindow::ShowNotice()
{
    if (!isVisible()) {
        PlaceInCorner();
        show();
        // The window manager's frame is known once the window shows.
        PlaceInCorner();
    }
    FollowModalDialog();
    raise();
}

void CReminderWindow::FollowModalDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* owner = modal && modal != this ? modal : parentWidget();
    QWindow* handle = windowHandle();
    if (!owner || !handle)
        return;
    QWindow* ownerHandle = owner->window()->windowHandle();
    if (ownerHandle && handle->transientParent() != ownerHandle)
        handle->setTransientParent(ownerHandle);
}

void CReminderWindow::PlaceInCorner()
{
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner ? owner->screen() : this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frameExtra = frameGeometry().size() - size();
    resize(size().boundedTo(area.size() - frameExtra));
    const QSize frame = size() + frameExtra;
    move(area.right() + 1 - frame.width(), area.bottom() + 1 - frame.height());
}

QStringList CReminderWindow::LineTexts(const DueEntry& entry)
{
    if (entry.kind == DueEntry::Appointment)
        return {u"约会"_s, FormatDateTime(entry.start), LineText(FullText(entry))};
    return {u"提醒"_s, FormatDateTime(entry.start) + u" 至 "_s + FormatDateTime(entry.end),
            LineText(entry.content)};
}

void CReminderWindow::SetEntries(std::vector<DueEntry> entries)
{
    const int current = CurrentIndex();
    int keep = -1;
    if (current >= 0) {
        const DueEntry& was = m_entries[size_t(current)];
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].kind == was.kind && entries[i].no == was.no)
                keep = int(i);
    }
    m_entries = std::move(entries);
    m_list->clear();
    for (const DueEntry& entry : m_entries)
        m_list->addTopLevelItem(new QTreeWidgetItem(LineTexts(entry)));
    SetCurrentIndex(keep >= 0 ? keep : (m_entries.empty() ? -1 : 0));
    ShowCurrentText();
}

int CReminderWindow::CurrentIndex() const
{
    QTreeWidgetItem* item = m_list->currentItem();
    return item ? m_list->indexOfTopLevelItem(item) : -1;
}

void CReminderWindow::SetCurrentIndex(int index)
{
    m_list->setCurrentItem(index >= 0 ? m_list->topLevelItem(index) : nullptr);
}

void CReminderWindow::ShowCurrentText()
{
    const int index = CurrentIndex();
    m_text->setPlainText(index >= 0 ? FullText(m_entries[size_t(index)]) : QString());
    const bool chosen = index >= 0;
    m_acknowledge->setEnabled(chosen);
    m_snooze->setEnabled(chosen);
    m_open->setEnabled(chosen);
}

void CReminderWindow::ActOnCurrent(void (CReminderWindow::*signal)(const DueEntry&))
{
    const int index = CurrentIndex();
    if (index < 0)
        return;
    // A copy: the receiver may list other entries meanwhile.
    const DueEntry entry = m_entries[size_t(index)];
    Q_EMIT(this->*signal)(entry);
}

void CReminderWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CReminderWindow::closeEvent(QCloseEvent* event)
{
    if (!m_entries.empty())
        Q_EMIT Dismissed(m_entries);
    QWidget::closeEvent(event);
}

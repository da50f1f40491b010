#include "kit/autocompletelist.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

CAutoCompleteList::CAutoCompleteList(QWidget* owner)
    // A tool window that is never activated and that the program places itself: the window
    // type of tool tips (Windows: a top-most tool window; X11: unmanaged; Wayland: a pop-up
    // placed beside its parent). The typing goes on in the box, so the list must never take
    // the focus, not even when it is clicked.
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      m_owner(owner)
{
    setObjectName(u"AutoCompleteList"_s);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setFont(QApplication::font());
    m_nRowHeight = std::max(1, fontMetrics().height()) + 2 * kRowPadding;

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(u"AutoCompleteScrollBar"_s);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != m_nTop) {
            m_scrollTimer.stop();
            m_nTop = value;
            update();
        }
    });

    setGeometry(QRect(owner->mapToGlobal(QPoint(0, 20)), QSize(200, 180)));
}

void CAutoCompleteList::AddCompletion(const QString& entry)
{
    m_index.Add(entry);
}

bool CAutoCompleteList::ShowMatches(const QString& text)
{
    QStringList matches = m_index.Matches(text);
    if (matches.isEmpty()) {
        HideList();
        return false;
    }
    m_matches = std::move(matches);
    // The first match is the one Enter takes: it shows highlighted from the start.
    m_nSelected = 0;

    QSize size = m_savedSize;
    if (!size.isValid())
        size =
            QSize(m_owner->width(), std::min(MatchCount(), kMaxRows) * m_nRowHeight + 2 * kBorder);
    setGeometry(PopupGeometry(size));
    UpdateScrollBar();
    m_scrollTimer.stop();
    SetTopIndex(0);
    m_lingerTimer.stop();
    m_ownerRect = OwnerWindowRect();
    if (!isVisible())
        show();
    m_watchTimer.start(kWatchInterval, this);
    update();
    return true;
}

QRect CAutoCompleteList::PopupGeometry(const QSize& size) const
{
    // Under the box, never over it: above it when the screen has no room below and more above.
    const QPoint below = m_owner->mapToGlobal(QPoint(0, m_owner->height()));
    const QPoint above = m_owner->mapToGlobal(QPoint(0, -size.height()));
    const QScreen* screen = m_owner->screen();
    if (!screen)
        return QRect(below, size);
    const QRect available = screen->availableGeometry();
    const int roomBelow = available.bottom() + 1 - below.y();
    const int roomAbove = m_owner->mapToGlobal(QPoint(0, 0)).y() - available.top();
    QRect placed(below, size);
    if (roomBelow < size.height() && roomAbove > roomBelow)
        placed.moveTopLeft(above);
    // Kept on the screen sideways.
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    return placed;
}

void CAutoCompleteList::HideList()
{
    hide();
    Reset();
}

void CAutoCompleteList::hideEvent(QHideEvent* event)
{
    // Hidden along with its window, or by the window system: the same reset as HideList.
    Reset();
    QWidget::hideEvent(event);
}

void CAutoCompleteList::Reset()
{
    m_nSelected = -1;
    SetTopIndex(0);
    m_watchTimer.stop();
    m_scrollTimer.stop();
    m_lingerTimer.stop();
    m_bResizing = false;
}

QString CAutoCompleteList::SelectedText() const
{
    if (m_matches.isEmpty())
        return QString();
    return m_matches.at(m_nSelected >= 0 && m_nSelected < MatchCount() ? m_nSelected : 0);
}

int CAutoCompleteList::GripSize() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollBar);
}

QRect CAutoCompleteList::ClientArea() const
{
    return rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
}

QRect CAutoCompleteList::RowArea() const
{
    QRect area = ClientArea();
    if (ScrollBarShown())
        area.setRight(area.right() - GripSize());
    return area;
}

QRect CAutoCompleteList::GripRect() const
{
    const QRect client = ClientArea();
    const int grip = GripSize();
    return QRect(client.right() + 1 - grip, client.bottom() + 1 - grip, grip, grip);
}

int CAutoCompleteList::VisibleRows() const
{
    return std::max(1, ClientArea().height() / m_nRowHeight);
}

bool CAutoCompleteList::ScrollBarShown() const
{
    return !m_scrollBar->isHidden();
}

int CAutoCompleteList::MaxTopIndex() const
{
    return std::max(0, MatchCount() - VisibleRows());
}

QRect CAutoCompleteList::RowRect(int index) const
{
    const int row = index - m_nTop;
    if (index < 0 || index >= MatchCount() || row < 0 || row >= VisibleRows())
        return QRect();
    const QRect area = RowArea();
    return QRect(area.left(), area.top() + row * m_nRowHeight, area.width(), m_nRowHeight);
}

int CAutoCompleteList::IndexAt(const QPoint& point) const
{
    const QRect area = RowArea();
    if (!area.contains(point))
        return -1;
    const int index = m_nTop + (point.y() - area.top()) / m_nRowHeight;
    return index < MatchCount() ? index : -1;
}

void CAutoCompleteList::SetTopIndex(int top)
{
    m_nTop = std::clamp(top, 0, MaxTopIndex());
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setValue(m_nTop);
    update();
}

void CAutoCompleteList::UpdateScrollBar()
{
    const int visible = VisibleRows();
    const QRect client = ClientArea();
    const int grip = GripSize();
    m_scrollBar->setGeometry(client.right() + 1 - grip, client.top(), grip,
                             std::max(0, client.height() - grip));
    m_nTop = std::clamp(m_nTop, 0, MaxTopIndex());
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setRange(0, MaxTopIndex());
    m_scrollBar->setPageStep(visible);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setValue(m_nTop);
    m_scrollBar->setVisible(MatchCount() > visible);
}

void CAutoCompleteList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateScrollBar();
    update();
}

bool CAutoCompleteList::MoveSelection(int key)
{
    if (m_matches.isEmpty())
        return false;
    const int last = MatchCount() - 1;
    int selected = m_nSelected;
    switch (key) {
    case Qt::Key_Down:
        ++selected;
        break;
    case Qt::Key_Up:
        --selected;
        break;
    case Qt::Key_PageDown:
        selected = std::min(selected + VisibleRows(), last);
        break;
    case Qt::Key_PageUp:
        selected = std::max(selected - VisibleRows(), 0);
        break;
    case Qt::Key_Home:
        selected = 0;
        break;
    case Qt::Key_End:
        selected = last;
        break;
    default:
        return false;
    }
    if (selected < 0)
        selected = last;
    else if (selected > last)
        selected = 0;
    m_nSelected = selected;
    EnsureVisible(selected, true);
    update();
    return true;
}

void CAutoCompleteList::EnsureVisible(int index, bool smooth)
{
    const int visible = VisibleRows();
    int target = m_nTop;
    if (index < m_nTop)
        target = index;
    else if (index >= m_nTop + visible)
        target = index - visible + 1;
    target = std::clamp(target, 0, MaxTopIndex());
    // A short list scrolls to the row one row at a time, so the eye can follow the jump.
    if (smooth && MatchCount() <= kSmoothScrollLimit && isVisible() && target != m_nTop) {
        m_nScrollTarget = target;
        m_scrollTimer.start(kSmoothScrollStep, this);
        return;
    }
    m_scrollTimer.stop();
    SetTopIndex(target);
}

void CAutoCompleteList::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_watchTimer.timerId()) {
        if (OwnerWindowRect() != m_ownerRect)
            HideList();
    } else if (event->timerId() == m_scrollTimer.timerId()) {
        if (m_nTop == m_nScrollTarget) {
            m_scrollTimer.stop();
            return;
        }
        SetTopIndex(m_nTop + (m_nScrollTarget > m_nTop ? 1 : -1));
        if (m_nTop == m_nScrollTarget)
            m_scrollTimer.stop();
    } else if (event->timerId() == m_lingerTimer.timerId()) {
        HideList();
    } else {
        QWidget::timerEvent(event);
    }
}

QRect CAutoCompleteList::OwnerWindowRect() const
{
    return m_owner->window()->frameGeometry();
}

void CAutoCompleteList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        HideList();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (GripRect().contains(point)) {
        m_bResizing = true;
        m_resizeStart = event->globalPosition().toPoint();
        m_resizeStartSize = size();
        return;
    }
    if (!ClientArea().contains(point)) {
        HideList();
        return;
    }
    const int index = IndexAt(point);
    if (index < 0)
        return;
    m_nSelected = index;
    EnsureVisible(index, false);
    update();
    Q_EMIT EntryClicked();
    // The taken entry stays on show a moment before the list goes.
    if (isVisible())
        m_lingerTimer.start(kClickLinger, this);
}

void CAutoCompleteList::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_bResizing) {
        const QPoint moved = event->globalPosition().toPoint() - m_resizeStart;
        // Never narrower than the box, never lower than one row.
        const QSize size(
            std::max(m_owner->width(), m_resizeStartSize.width() + moved.x()),
            std::max(m_nRowHeight + 2 * kBorder, m_resizeStartSize.height() + moved.y()));
        resize(size);
        m_savedSize = size;
        update();
        return;
    }
    setCursor(GripRect().contains(point) ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
    const int index = IndexAt(point);
    if (index >= 0 && index != m_nSelected) {
        m_nSelected = index;
        update();
    }
}

void CAutoCompleteList::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bResizing && event->button() == Qt::LeftButton) {
        m_bResizing = false;
        m_savedSize = size();
    }
}

void CAutoCompleteList::wheelEvent(QWheelEvent* event)
{
    const int rows = event->angleDelta().y() / 120 * 3;
    if (rows != 0) {
        m_scrollTimer.stop();
        SetTopIndex(m_nTop - rows);
    }
    event->accept();
}

void CAutoCompleteList::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(ClientArea(), colours.color(QPalette::Base));

    const QRect area = RowArea();
    painter.save();
    painter.setClipRect(area);
    const QFontMetrics metrics = fontMetrics();
    for (int index = m_nTop; index < MatchCount(); ++index) {
        const QRect row(area.left(), area.top() + (index - m_nTop) * m_nRowHeight, area.width(),
                        m_nRowHeight);
        if (row.top() > area.bottom())
            break;
        if (index == m_nSelected) {
            painter.fillRect(row, colours.color(QPalette::Highlight));
            painter.setPen(colours.color(QPalette::HighlightedText));
        } else {
            painter.setPen(colours.color(QPalette::Text));
        }
        const QRect textRect = row.adjusted(kTextIndent, 0, -kTextIndent, 0);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(m_matches.at(index), Qt::ElideRight, textRect.width()));
    }
    painter.restore();

    DrawGrip(painter);
    painter.setPen(colours.color(QPalette::Text));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CAutoCompleteList::DrawGrip(QPainter& painter) const
{
    const QRect grip = GripRect();
    const QPalette& colours = palette();
    if (ScrollBarShown())
        painter.fillRect(grip, colours.color(QPalette::Button));
    // Groups of diagonal strokes towards the corner: a light one, two shadows, a face one.
    const QColor strokes[] = {colours.color(QPalette::Base), colours.color(QPalette::Dark),
                              colours.color(QPalette::Dark), colours.color(QPalette::Button)};
    const int right = grip.right();
    const int bottom = grip.bottom();
    for (int start = 1; start + 3 < grip.width(); start += 4) {
        for (int i = 0; i < 4; ++i) {
            const int offset = start + i;
            painter.setPen(strokes[i]);
            painter.drawLine(right - offset + 1, bottom, right, bottom - offset + 1);
        }
    }
}

#include "kit/gfxoutbarctrl.h"

#include "kit/outbarslide.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// Item frames surround the icon rectangle by this much: room for the rounded frames of the
// skins and for the one-pixel moves of the idle animation.
constexpr int kFramePadding = 3;
constexpr int kDefaultLargeIcon = 32;
constexpr int kDefaultSmallIcon = 16;
} // namespace

CGfxOutBarCtrl::CGfxOutBarCtrl(QWidget* parent, int flags, CSkinEngine* skin)
    : QWidget(parent), m_flags(flags), m_engine(skin)
{
    setObjectName(u"GfxOutBarCtrl"_s);
    // Every pixel comes from the buffer: nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);

    m_hoverTimer.setInterval(kHoverWatchMs);
    m_scrollTimer.setInterval(kScrollRepeatMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CGfxOutBarCtrl::OnHoverWatch);
    connect(&m_scrollTimer, &QTimer::timeout, this, &CGfxOutBarCtrl::OnScrollRepeat);
    connect(&m_animationTimer, &QTimer::timeout, this, &CGfxOutBarCtrl::OnItemAnimation);
    connect(&m_slideTimer, &QTimer::timeout, this, &CGfxOutBarCtrl::OnSlideStep);

    // The bar follows every skin the program loads, starting with the current one.
    if (m_engine) {
        connect(m_engine, &CSkinEngine::SkinChanged, this, &CGfxOutBarCtrl::ReloadSkin);
        m_skin = m_engine->OpenSkinObject(u"SkinOutlookBar"_s);
    }
}

CGfxOutBarCtrl::~CGfxOutBarCtrl()
{
    if (m_skin && m_engine)
        m_engine->CloseSkinObject(m_skin);
}

// ---- content ---------------------------------------------------------------------------------

void CGfxOutBarCtrl::SetFlags(int flags)
{
    m_flags = flags;
    Invalidate();
}

int CGfxOutBarCtrl::AddFolder(const QString& name, qintptr data)
{
    m_folders.push_back({name, data, {}});
    Invalidate();
    return FolderCount() - 1;
}

int CGfxOutBarCtrl::InsertItem(int folder, int index, const QString& text, int image, qintptr data)
{
    if (folder < 0 || folder >= FolderCount())
        return -1;
    std::vector<SOutBarItem>& items = m_folders[size_t(folder)].items;
    if (index < 0 || index > int(items.size()))
        index = int(items.size());
    items.insert(items.begin() + index, SOutBarItem{image, text, data});
    if (folder == m_openFolder && m_lastClicked >= index)
        ++m_lastClicked;
    Invalidate();
    return index;
}

COutBarImageList CGfxOutBarCtrl::SetImageList(const COutBarImageList& list, int kind)
{
    COutBarImageList& target = kind == kSmallImageList ? m_smallIcons : m_largeIcons;
    COutBarImageList previous = target;
    target = list;
    Invalidate();
    return previous;
}

void CGfxOutBarCtrl::SetAnimationPeriod(int milliseconds)
{
    m_animationPeriod = milliseconds;
    m_animationShown = false;
    if (milliseconds > 0)
        m_animationTimer.start(milliseconds);
    else
        m_animationTimer.stop();
    update();
}

QString CGfxOutBarCtrl::FolderName(int folder) const
{
    return folder >= 0 && folder < FolderCount() ? m_folders[size_t(folder)].name : QString();
}

qintptr CGfxOutBarCtrl::FolderData(int folder) const
{
    return folder >= 0 && folder < FolderCount() ? m_folders[size_t(folder)].data : 0;
}

int CGfxOutBarCtrl::ItemCount(int folder) const
{
    return folder >= 0 && folder < FolderCount() ? int(m_folders[size_t(folder)].items.size()) : 0;
}

QString CGfxOutBarCtrl::ItemText(int folder, int item) const
{
    return item >= 0 && item < ItemCount(folder)
               ? m_folders[size_t(folder)].items[size_t(item)].text
               : QString();
}

int CGfxOutBarCtrl::ItemImage(int folder, int item) const
{
    return item >= 0 && item < ItemCount(folder)
               ? m_folders[size_t(folder)].items[size_t(item)].image
               : -1;
}

qintptr CGfxOutBarCtrl::ItemData(int folder, int item) const
{
    return item >= 0 && item < ItemCount(folder)
               ? m_folders[size_t(folder)].items[size_t(item)].data
               : 0;
}

QSize CGfxOutBarCtrl::sizeHint() const
{
    return QSize(130, 360);
}

QSize CGfxOutBarCtrl::minimumSizeHint() const
{
    return QSize(60, COutBarGeometry::kFolderHeight * std::max(1, FolderCount()) + 40);
}

// ---- layout ----------------------------------------------------------------------------------

const COutBarImageList& CGfxOutBarCtrl::Icons() const
{
    return (m_flags & kSmallIcons) ? m_smallIcons : m_largeIcons;
}

const std::vector<SOutBarItem>* CGfxOutBarCtrl::OpenItems() const
{
    if (m_openFolder < 0 || m_openFolder >= FolderCount())
        return nullptr;
    return &m_folders[size_t(m_openFolder)].items;
}

COutBarGeometry CGfxOutBarCtrl::GeometryFor(int openFolder, int firstItem) const
{
    COutBarGeometry::SInput input;
    input.client = rect();
    input.folderCount = FolderCount();
    input.openFolder = openFolder;
    input.firstItem = firstItem;
    input.smallIcons = (m_flags & kSmallIcons) != 0;
    const int fallback = input.smallIcons ? kDefaultSmallIcon : kDefaultLargeIcon;
    input.iconSize = Icons().IsNull() ? QSize(fallback, fallback) : Icons().IconSize();
    input.font = font();
    input.arrowSide = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (openFolder >= 0 && openFolder < FolderCount()) {
        for (const SOutBarItem& item : m_folders[size_t(openFolder)].items)
            input.itemTexts << item.text;
    }
    return COutBarGeometry(input);
}

COutBarGeometry CGfxOutBarCtrl::Geometry() const
{
    return GeometryFor(m_openFolder, m_firstItem);
}

COutBarPainter CGfxOutBarCtrl::MakePainter() const
{
    return COutBarPainter(m_engine, m_skin, palette(), font());
}

QRegion CGfxOutBarCtrl::ItemClip(const COutBarGeometry& geometry) const
{
    QRegion clip(geometry.ItemArea());
    if (geometry.UpArrowShown())
        clip -= geometry.UpArrowRect();
    if (geometry.DownArrowShown())
        clip -= geometry.DownArrowRect();
    return clip;
}

QRect CGfxOutBarCtrl::FrameRect(const COutBarGeometry& geometry, int item) const
{
    const auto rects = geometry.ItemRects(item);
    if (!rects)
        return {};
    return rects->icon.adjusted(-kFramePadding, -kFramePadding, kFramePadding, kFramePadding);
}

// ---- drawing ---------------------------------------------------------------------------------

void CGfxOutBarCtrl::Invalidate()
{
    m_bufferValid = false;
    update();
}

void CGfxOutBarCtrl::RenderScene(QPainter& painter, int openFolder, int firstItem) const
{
    const COutBarGeometry geometry = GeometryFor(openFolder, firstItem);
    const COutBarPainter look = MakePainter();
    look.Background(painter, rect());
    for (int folder = 0; folder < FolderCount(); ++folder) {
        look.Header(painter, geometry.FolderRect(folder), m_folders[size_t(folder)].name,
                    COutBarPainter::HeaderLook::Normal);
    }
    if (geometry.UpArrowShown())
        look.Arrow(painter, geometry.UpArrowRect(), true, false);
    if (geometry.DownArrowShown())
        look.Arrow(painter, geometry.DownArrowRect(), false, false);
    if (openFolder < 0 || openFolder >= FolderCount())
        return;

    painter.save();
    painter.setClipRegion(ItemClip(geometry));
    const std::vector<SOutBarItem>& items = m_folders[size_t(openFolder)].items;
    const bool small = (m_flags & kSmallIcons) != 0;
    for (int i = std::max(0, firstItem); i < int(items.size()); ++i) {
        if (geometry.StartsBelowArea(i))
            break;
        const SOutBarItemRects rects = *geometry.ItemRects(i);
        if ((m_flags & kKeepSelection) && openFolder == m_openFolder && i == m_lastClicked)
            look.ItemFrame(painter, FrameRect(geometry, i), COutBarPainter::FrameLook::Highlight);
        const SOutBarItem& item = items[size_t(i)];
        look.Icon(painter, rects.icon, Icons().Icon(item.image), item.enabled);
        look.Label(painter, rects.label, item.text, small, item.enabled);
    }
    painter.restore();
}

QPixmap CGfxOutBarCtrl::RenderToPixmap(int openFolder, int firstItem) const
{
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap((QSizeF(size()) * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    RenderScene(painter, openFolder, firstItem);
    return pixmap;
}

bool CGfxOutBarCtrl::HoverLooksAllowed() const
{
    const QWidget* focus = QApplication::focusWidget();
    return !(focus && focus != this && isAncestorOf(focus));
}

bool CGfxOutBarCtrl::ItemHoverAllowed(int item) const
{
    const std::vector<SOutBarItem>* items = OpenItems();
    if (items && item >= 0 && item < int(items->size()) && !(*items)[size_t(item)].enabled)
        return false;
    return !(item == m_lastClicked && ((m_flags & kKeepSelection) || m_animationTimer.isActive()));
}

void CGfxOutBarCtrl::SetItemEnabled(int folder, int item, bool enabled)
{
    if (folder < 0 || folder >= FolderCount() || item < 0 || item >= ItemCount(folder))
        return;
    SOutBarItem& entry = m_folders[size_t(folder)].items[size_t(item)];
    if (entry.enabled == enabled)
        return;
    entry.enabled = enabled;
    Invalidate();
}

bool CGfxOutBarCtrl::IsItemEnabled(int folder, int item) const
{
    return folder >= 0 && folder < FolderCount() && item >= 0 && item < ItemCount(folder) &&
           m_folders[size_t(folder)].items[size_t(item)].enabled;
}

void CGfxOutBarCtrl::PaintItemOverlay(QPainter& painter, const COutBarGeometry& geometry, int item,
                                      COutBarPainter::FrameLook look, QPoint shift) const
{
    const auto rects = geometry.ItemRects(item);
    const std::vector<SOutBarItem>* items = OpenItems();
    if (!rects || !items || item >= int(items->size()))
        return;
    const QRect frame = FrameRect(geometry, item);
    const COutBarPainter parts = MakePainter();
    painter.save();
    painter.setClipRegion(ItemClip(geometry) & QRegion(frame));
    // The frame's area is restored from the background before frame and icon go on top.
    parts.Background(painter, rect());
    parts.ItemFrame(painter, frame, look);
    parts.Icon(painter, rects->icon.translated(shift), Icons().Icon((*items)[size_t(item)].image));
    painter.restore();
}

void CGfxOutBarCtrl::PaintOverlays(QPainter& painter, const COutBarGeometry& geometry) const
{
    const COutBarPainter look = MakePainter();
    const bool hoverAllowed = HoverLooksAllowed();

    if (m_press == Press::Folder && m_pressOnTarget) {
        look.Header(painter, geometry.FolderRect(m_pressIndex), FolderName(m_pressIndex),
                    COutBarPainter::HeaderLook::Pressed);
    } else if (m_hoverFolder >= 0 && hoverAllowed && m_press == Press::None) {
        look.Header(painter, geometry.FolderRect(m_hoverFolder), FolderName(m_hoverFolder),
                    COutBarPainter::HeaderLook::Hover);
    }

    if (m_upPressed && geometry.UpArrowShown())
        look.Arrow(painter, geometry.UpArrowRect(), true, true);
    if (m_downPressed && geometry.DownArrowShown())
        look.Arrow(painter, geometry.DownArrowRect(), false, true);

    // The idle animation of the last clicked item, while it is fully visible.
    const bool hoverOnAnimated = m_hoverItem == m_lastClicked && m_hoverPressed;
    if (m_animationTimer.isActive() && m_animationShown && m_lastClicked >= 0 && !hoverOnAnimated &&
        geometry.ItemArea().contains(FrameRect(geometry, m_lastClicked))) {
        QPoint shift;
        if (m_animationTick == 0)
            shift = QPoint(-1, 1);
        else if (m_animationTick == 2)
            shift = QPoint(1, 1);
        PaintItemOverlay(painter, geometry, m_lastClicked, COutBarPainter::FrameLook::Pressed,
                         shift);
    }

    if (m_hoverItem >= 0 && !m_dragging) {
        if (m_hoverPressed) {
            PaintItemOverlay(painter, geometry, m_hoverItem, COutBarPainter::FrameLook::Pressed,
                             {});
        } else if (hoverAllowed && ItemHoverAllowed(m_hoverItem)) {
            PaintItemOverlay(painter, geometry, m_hoverItem, COutBarPainter::FrameLook::Highlight,
                             {});
        }
    }

    if (m_dragging && m_dropIndex >= 0) {
        const QRect area = geometry.ItemArea();
        const int count = geometry.ItemCount();
        look.InsertMark(painter, area.left() + 2, area.right() - 2,
                        geometry.InsertMarkY(m_dropIndex), m_dropIndex > 0, m_dropIndex < count);
    }
}

void CGfxOutBarCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_slide) {
        m_slide->Paint(painter);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (!m_bufferValid || m_buffer.devicePixelRatio() != ratio ||
        m_buffer.size() != (QSizeF(size()) * ratio).toSize()) {
        m_buffer = RenderToPixmap(m_openFolder, m_firstItem);
        m_bufferValid = true;
    }
    painter.drawPixmap(0, 0, m_buffer);
    PaintOverlays(painter, Geometry());
}

// ---- hover -----------------------------------------------------------------------------------

void CGfxOutBarCtrl::SetHoverFolder(int folder)
{
    if (folder == m_hoverFolder)
        return;
    const COutBarGeometry geometry = Geometry();
    update(geometry.FolderRect(m_hoverFolder));
    m_hoverFolder = folder;
    update(geometry.FolderRect(m_hoverFolder));
}

void CGfxOutBarCtrl::SetHoverItem(int item, bool pressed)
{
    if (item == m_hoverItem && pressed == m_hoverPressed)
        return;
    const COutBarGeometry geometry = Geometry();
    update(FrameRect(geometry, m_hoverItem));
    m_hoverItem = item;
    m_hoverPressed = pressed;
    update(FrameRect(geometry, m_hoverItem));
}

void CGfxOutBarCtrl::ClearHover()
{
    SetHoverFolder(-1);
    SetHoverItem(-1, false);
    m_hoverTimer.stop();
}

void CGfxOutBarCtrl::TrackHover(const QPoint& point)
{
    const SOutBarHit hit = HitTest(point);
    if (hit.kind == SOutBarHit::Folder)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    SetHoverFolder(hit.kind == SOutBarHit::Folder ? hit.index : -1);
    SetHoverItem(hit.kind == SOutBarHit::Item ? hit.index : -1, false);
    if ((m_hoverFolder >= 0 || m_hoverItem >= 0) && !m_hoverTimer.isActive())
        m_hoverTimer.start();
}

void CGfxOutBarCtrl::OnHoverWatch()
{
    if (m_press != Press::None)
        return;
    if (!rect().contains(mapFromGlobal(QCursor::pos()))) {
        ClearHover();
        unsetCursor();
    }
}

void CGfxOutBarCtrl::leaveEvent(QEvent* event)
{
    if (m_press == Press::None) {
        ClearHover();
        unsetCursor();
    }
    QWidget::leaveEvent(event);
}

// ---- mouse -----------------------------------------------------------------------------------

void CGfxOutBarCtrl::CancelPress()
{
    if (m_press == Press::None)
        return;
    m_press = Press::None;
    m_pressIndex = -1;
    m_pressOnTarget = false;
    m_scrollTimer.stop();
    m_upPressed = false;
    m_downPressed = false;
    m_dragging = false;
    m_dropIndex = -1;
    ClearHover();
    unsetCursor();
    Invalidate();
}

void CGfxOutBarCtrl::hideEvent(QHideEvent* event)
{
    CancelPress();
    QWidget::hideEvent(event);
}

void CGfxOutBarCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    CancelPress(); // a press still pending lost its release
    FinishSlide();
    setFocus(Qt::MouseFocusReason);
    const COutBarGeometry geometry = Geometry();
    const SOutBarHit hit = geometry.HitTest(event->position().toPoint());
    switch (hit.kind) {
    case SOutBarHit::Folder:
        m_press = Press::Folder;
        m_pressIndex = hit.index;
        m_pressOnTarget = true;
        SetHoverFolder(-1);
        update(geometry.FolderRect(hit.index));
        break;
    case SOutBarHit::Item:
        if (!IsItemEnabled(m_openFolder, hit.index))
            break;
        m_press = Press::Item;
        m_pressIndex = hit.index;
        m_dragging = false;
        m_dropIndex = -1;
        SetHoverItem(hit.index, true);
        break;
    case SOutBarHit::UpArrow:
    case SOutBarHit::DownArrow: {
        const bool up = hit.kind == SOutBarHit::UpArrow;
        m_press = up ? Press::UpArrow : Press::DownArrow;
        (up ? m_upPressed : m_downPressed) = true;
        m_scrollTimer.start();
        update(up ? geometry.UpArrowRect() : geometry.DownArrowRect());
        break;
    }
    case SOutBarHit::None:
        break;
    }
    event->accept();
}

void CGfxOutBarCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_press != Press::None && !(event->buttons() & Qt::LeftButton))
        CancelPress();
    const QPoint point = event->position().toPoint();
    const COutBarGeometry geometry = Geometry();
    const SOutBarHit hit = geometry.HitTest(point);
    switch (m_press) {
    case Press::None:
        TrackHover(point);
        break;
    case Press::Folder: {
        const bool on = hit == SOutBarHit{SOutBarHit::Folder, m_pressIndex};
        if (on != m_pressOnTarget) {
            m_pressOnTarget = on;
            update(geometry.FolderRect(m_pressIndex));
        }
        if (hit.kind == SOutBarHit::Folder)
            setCursor(Qt::PointingHandCursor);
        else
            unsetCursor();
        break;
    }
    case Press::Item:
        if (!m_dragging) {
            if (hit == SOutBarHit{SOutBarHit::Item, m_pressIndex}) {
                SetHoverItem(m_pressIndex, true);
            } else if ((m_flags & kDragItems) && hit.kind != SOutBarHit::Item) {
                m_dragging = true;
                SetHoverItem(-1, false);
                update(geometry.ItemArea());
            } else {
                SetHoverItem(m_pressIndex, false);
            }
        }
        if (m_dragging) {
            const int drop = geometry.DropIndex(point);
            if (drop != m_dropIndex) {
                if (m_dropIndex >= 0)
                    update(geometry.InsertMarkRect(m_dropIndex));
                m_dropIndex = drop;
                if (m_dropIndex >= 0)
                    update(geometry.InsertMarkRect(m_dropIndex));
            }
            setCursor(drop >= 0 ? Qt::ClosedHandCursor : Qt::ForbiddenCursor);
        }
        break;
    case Press::UpArrow:
    case Press::DownArrow: {
        const bool up = m_press == Press::UpArrow;
        const QRect arrow = up ? geometry.UpArrowRect() : geometry.DownArrowRect();
        const bool on = arrow.contains(point);
        bool& pressed = up ? m_upPressed : m_downPressed;
        if (on != pressed) {
            pressed = on;
            update(arrow);
        }
        break;
    }
    }
    event->accept();
}

void CGfxOutBarCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_press == Press::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const COutBarGeometry geometry = Geometry();
    const SOutBarHit hit = geometry.HitTest(point);
    const Press press = m_press;
    const int pressed = m_pressIndex;
    m_press = Press::None;
    m_pressIndex = -1;
    event->accept();

    switch (press) {
    case Press::Folder:
        m_pressOnTarget = false;
        update(geometry.FolderRect(pressed));
        // The header released over opens, whichever was pressed; the open one does nothing.
        if (hit.kind == SOutBarHit::Folder && hit.index != m_openFolder)
            ChangeOpenFolder(hit.index, true);
        else
            TrackHover(point);
        break;
    case Press::Item:
        if (m_dragging) {
            const int target = geometry.DropIndex(point);
            m_dragging = false;
            m_dropIndex = -1;
            m_hoverPressed = false;
            m_hoverItem = -1;
            unsetCursor();
            if (target >= 0 && target != pressed)
                DropItem(pressed, target);
            Invalidate();
        } else if (hit == SOutBarHit{SOutBarHit::Item, pressed}) {
            SetHoverItem(pressed, false);
            SetLastClicked(pressed);
            Q_EMIT Notify(kNotifyItemClicked, pressed);
        } else {
            TrackHover(point);
        }
        break;
    case Press::UpArrow:
    case Press::DownArrow: {
        const bool up = press == Press::UpArrow;
        m_scrollTimer.stop();
        const QRect arrow = up ? geometry.UpArrowRect() : geometry.DownArrowRect();
        if (arrow.contains(point))
            ScrollOnce(up);
        m_upPressed = false;
        m_downPressed = false;
        Invalidate();
        break;
    }
    case Press::None:
        break;
    }
}

void CGfxOutBarCtrl::wheelEvent(QWheelEvent* event)
{
    // One item per notch, as the arrows scroll.
    m_wheelRemainder += event->angleDelta().y();
    while (m_wheelRemainder >= 120) {
        m_wheelRemainder -= 120;
        ScrollOnce(true);
    }
    while (m_wheelRemainder <= -120) {
        m_wheelRemainder += 120;
        ScrollOnce(false);
    }
    event->accept();
}

// ---- actions ---------------------------------------------------------------------------------

bool CGfxOutBarCtrl::ScrollOnce(bool up)
{
    if (up) {
        if (m_firstItem <= 0)
            return false;
        --m_firstItem;
    } else {
        if (!Geometry().CanScrollDown())
            return false;
        ++m_firstItem;
    }
    m_hoverItem = m_press == Press::Item ? m_hoverItem : -1;
    Invalidate();
    return true;
}

void CGfxOutBarCtrl::OnScrollRepeat()
{
    if (m_press == Press::UpArrow && m_upPressed)
        ScrollOnce(true);
    else if (m_press == Press::DownArrow && m_downPressed)
        ScrollOnce(false);
}

void CGfxOutBarCtrl::SetLastClicked(int item)
{
    if (item == m_lastClicked)
        return;
    m_lastClicked = item;
    // The previous item comes to rest; the new one starts moving with the next cycle.
    m_animationShown = false;
    Invalidate();
}

void CGfxOutBarCtrl::DropItem(int from, int target)
{
    const int folder = m_openFolder;
    const int count = ItemCount(folder);
    if (from < 0 || from >= count)
        return;
    const int to = std::min(target > from ? target - 1 : target, count - 1);
    const SOutBarDropInfo info{folder, from, to};
    if (!m_dropConsent || !m_dropConsent(info))
        return;
    // The owner may have changed the bar while it was asked.
    if (folder != m_openFolder || count != ItemCount(folder))
        return;
    std::vector<SOutBarItem>& items = m_folders[size_t(folder)].items;
    SOutBarItem moved = std::move(items[size_t(from)]);
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, std::move(moved));
    // The last clicked item stays the same item at its new position.
    if (m_lastClicked == from) {
        m_lastClicked = to;
    } else if (m_lastClicked >= 0) {
        if (m_lastClicked > from)
            --m_lastClicked;
        if (m_lastClicked >= to)
            ++m_lastClicked;
    }
}

void CGfxOutBarCtrl::OnItemAnimation()
{
    // 0: shifted left and down, 1: at rest, 2: shifted right and down, 3: at rest, then a
    // pause until the counter comes round again (12 ticks a cycle).
    if (++m_animationTick > 10)
        m_animationTick = -1;
    if (m_animationTick < 0 || m_animationTick > 3 || m_lastClicked < 0)
        return;
    m_animationShown = true;
    update(FrameRect(Geometry(), m_lastClicked));
}

// ---- folders ---------------------------------------------------------------------------------

void CGfxOutBarCtrl::OpenFolder(int folder)
{
    if (folder < 0 || folder >= FolderCount())
        return;
    FinishSlide();
    if (folder == m_openFolder)
        CompleteOpenFolder(folder);
    else
        ChangeOpenFolder(folder, true);
}

void CGfxOutBarCtrl::ChangeOpenFolder(int folder, bool animate)
{
    if (folder < 0 || folder >= FolderCount())
        return;
    FinishSlide();
    const bool slide = animate && folder != m_openFolder && (m_flags & kAnimateFolders) &&
                       m_animationDelay >= 0 && isVisible() && !size().isEmpty();
    if (!slide) {
        CompleteOpenFolder(folder);
        return;
    }
    ClearHover();
    const COutBarGeometry before = Geometry();
    const COutBarGeometry after = GeometryFor(folder, 0);
    m_slide = std::make_unique<COutBarSlide>(
        RenderToPixmap(m_openFolder, m_firstItem), RenderToPixmap(folder, 0), before.ItemArea(),
        after.ItemArea(), folder > m_openFolder, COutBarGeometry::kFolderHeight);
    m_slideTarget = folder;
    m_slideTimer.start(m_animationDelay);
    update();
}

void CGfxOutBarCtrl::OnSlideStep()
{
    if (!m_slide)
        return;
    if (m_slide->Advance())
        update();
    else
        FinishSlide();
}

void CGfxOutBarCtrl::FinishSlide()
{
    if (!m_slide)
        return;
    m_slideTimer.stop();
    m_slide.reset();
    CompleteOpenFolder(m_slideTarget);
}

void CGfxOutBarCtrl::CompleteOpenFolder(int folder)
{
    m_openFolder = folder;
    m_firstItem = 0;
    m_lastClicked = -1;
    m_animationShown = false;
    m_upPressed = false;
    m_downPressed = false;
    ClearHover();
    Invalidate();
    Q_EMIT Notify(kNotifyFolderOpened, folder);
}

// ---- skin and window changes -----------------------------------------------------------------

void CGfxOutBarCtrl::ReloadSkin()
{
    if (m_skin && m_engine)
        m_engine->CloseSkinObject(m_skin);
    m_skin = m_engine ? m_engine->OpenSkinObject(u"SkinOutlookBar"_s) : 0;
    // Redrawn in any case: a skin without bar images brings back the plain look at once.
    Invalidate();
}

void CGfxOutBarCtrl::resizeEvent(QResizeEvent* event)
{
    FinishSlide();
    m_upPressed = false;
    m_downPressed = false;
    Invalidate();
    QWidget::resizeEvent(event);
}

void CGfxOutBarCtrl::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
        Invalidate();
        break;
    case QEvent::ActivationChange:
        if (!isActiveWindow())
            CancelPress();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

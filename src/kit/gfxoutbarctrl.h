#pragma once

#include "kit/outbargeometry.h"
#include "kit/outbarmodel.h"
#include "kit/outbarpainter.h"
#include "kit/skinengine.h"

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class COutBarSlide;

// The navigation bar of the main frame: a column of folder headers, one of them open and
// showing its items as icons with labels. It draws itself entirely from its skin object
// ("SkinOutlookBar") through one off-screen buffer, or in plain system colours without one.
// Clicks, drops and folder changes reach the owner as notifications.
class CGfxOutBarCtrl : public QWidget
{
    Q_OBJECT
public:
    // Bits of the flags word.
    static constexpr int kSmallIcons = 0x001;     // icon and one-line label side by side
    static constexpr int kDragItems = 0x080;      // items may be dragged to a new position
    static constexpr int kAnimateFolders = 0x100; // slide when the open folder changes
    static constexpr int kKeepSelection = 0x200;  // frame the last clicked item for good
    static constexpr int kDefaultFlags = 0x3FC;
    static constexpr int kMainFrameFlags = 0x1FC;

    // The notification message and its codes.
    static constexpr int kNotifyMessage = 1124;
    static constexpr int kNotifyItemClicked = 1;  // param: item index in the open folder
    static constexpr int kNotifyItemDropped = 4;  // asked through the drop consent
    static constexpr int kNotifyFolderOpened = 5; // param: index of the open folder
    // The message that makes the bar take its skin object again.
    static constexpr int kReloadSkinMessage = 0x401;

    static constexpr int kSmallImageList = 1;
    static constexpr int kLargeImageList = 2;

    static constexpr int kHoverWatchMs = 100;
    static constexpr int kScrollRepeatMs = 300;

    // The owner's answer to a drop (code 4): true moves the item. Without one, nothing moves.
    using DropConsent = std::function<bool(const SOutBarDropInfo&)>;

    // Drawn from the engine's skin and following its changes; plain without an engine.
    explicit CGfxOutBarCtrl(QWidget* parent = nullptr, int flags = kDefaultFlags,
                            CSkinEngine* skin = nullptr);
    ~CGfxOutBarCtrl() override;

    int Flags() const { return m_flags; }
    void SetFlags(int flags);

    // Appends a folder; returns its index.
    int AddFolder(const QString& name, qintptr data = 0);
    // A position that is negative or beyond the end appends; returns the position used, -1
    // for a folder that does not exist.
    int InsertItem(int folder, int index, const QString& text, int image = -1, qintptr data = 0);
    // Returns the previous list of that kind (kSmallImageList or kLargeImageList).
    COutBarImageList SetImageList(const COutBarImageList& list, int kind);
    // Pause per step of the folder slide in milliseconds; negative switches without sliding.
    void SetAnimationDelay(int milliseconds) { m_animationDelay = milliseconds; }
    int AnimationDelay() const { return m_animationDelay; }
    // Period of the idle animation of the last clicked item; zero or less stops it.
    void SetAnimationPeriod(int milliseconds);

    // Opens a folder (sliding when it is not the open one) and always notifies code 5.
    void OpenFolder(int folder);
    int OpenFolderIndex() const { return m_openFolder; }

    int FolderCount() const { return int(m_folders.size()); }
    QString FolderName(int folder) const;
    qintptr FolderData(int folder) const;
    int ItemCount(int folder) const;
    QString ItemText(int folder, int item) const;
    int ItemImage(int folder, int item) const;
    qintptr ItemData(int folder, int item) const;

    // A disabled item is drawn greyed, has no hover look and sends no click.
    void SetItemEnabled(int folder, int item, bool enabled);
    bool IsItemEnabled(int folder, int item) const;

    void SetDropConsent(DropConsent consent) { m_dropConsent = std::move(consent); }

    // The current layout: header and item rectangles, arrows and the hit test.
    COutBarGeometry Geometry() const;
    SOutBarHit HitTest(const QPoint& point) const { return Geometry().HitTest(point); }
    int FirstVisibleItem() const { return m_firstItem; }
    int LastClickedItem() const { return m_lastClicked; }
    int HoverFolder() const { return m_hoverFolder; }
    int HoverItem() const { return m_hoverItem; }
    bool IsSliding() const { return m_slide != nullptr; }
    bool HasSkinObject() const { return m_skin != 0; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    // Closes the skin object and opens "SkinOutlookBar" of the current skin anew, then
    // redraws the whole bar (kReloadSkinMessage).
    void ReloadSkin();
    // Ends a running folder slide at once.
    void FinishSlide();

Q_SIGNALS:
    // Sent synchronously to the owner (kNotifyMessage) with code 1 or 5.
    void Notify(int code, int param);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Press { None, Folder, Item, UpArrow, DownArrow };

    COutBarGeometry GeometryFor(int openFolder, int firstItem) const;
    COutBarPainter MakePainter() const;
    const COutBarImageList& Icons() const;
    const std::vector<SOutBarItem>* OpenItems() const;

    // Drawing: the scene goes to the buffer; hover, pressed and moving looks over it.
    void Invalidate();
    void RenderScene(QPainter& painter, int openFolder, int firstItem) const;
    QPixmap RenderToPixmap(int openFolder, int firstItem) const;
    void PaintOverlays(QPainter& painter, const COutBarGeometry& geometry) const;
    void PaintItemOverlay(QPainter& painter, const COutBarGeometry& geometry, int item,
                          COutBarPainter::FrameLook look, QPoint shift) const;
    QRegion ItemClip(const COutBarGeometry& geometry) const;
    QRect FrameRect(const COutBarGeometry& geometry, int item) const;
    bool HoverLooksAllowed() const;
    bool ItemHoverAllowed(int item) const;

    void SetHoverFolder(int folder);
    void SetHoverItem(int item, bool pressed);
    void ClearHover();
    void TrackHover(const QPoint& point);
    // Forgets a press whose release never came (the mouse was taken by a pop-up menu, the
    // window lost the focus): nothing is sent, and the bar answers the next press.
    void CancelPress();
    void ChangeOpenFolder(int folder, bool animate);
    void CompleteOpenFolder(int folder);
    bool ScrollOnce(bool up);
    void SetLastClicked(int item);
    void DropItem(int from, int target);

    void OnHoverWatch();
    void OnScrollRepeat();
    void OnItemAnimation();
    void OnSlideStep();

    std::vector<SOutBarFolder> m_folders;
    int m_flags;
    int m_openFolder = 0;
    int m_firstItem = 0;
    int m_hoverFolder = -1;
    int m_hoverItem = -1;
    bool m_hoverPressed = false;
    int m_lastClicked = -1;
    COutBarImageList m_smallIcons;
    COutBarImageList m_largeIcons;
    int m_animationDelay = 10;
    int m_animationPeriod = 0;
    int m_animationTick = 0;
    bool m_animationShown = false;
    bool m_upPressed = false;
    bool m_downPressed = false;
    QPointer<CSkinEngine> m_engine;
    CSkinEngine::SkinObject m_skin = 0;
    DropConsent m_dropConsent;

    // Mouse press in progress.
    Press m_press = Press::None;
    int m_pressIndex = -1;
    bool m_pressOnTarget = false;
    bool m_dragging = false;
    int m_dropIndex = -1;
    int m_wheelRemainder = 0;

    QPixmap m_buffer;
    bool m_bufferValid = false;
    std::unique_ptr<COutBarSlide> m_slide;
    int m_slideTarget = -1;

    QTimer m_hoverTimer;     // timer 1
    QTimer m_scrollTimer;    // timer 2
    QTimer m_animationTimer; // timer 3
    QTimer m_slideTimer;
};

#pragma once

#include "kit/completionindex.h"

#include <QBasicTimer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>

class QScrollBar;

// The pop-up list of an auto-complete box: a borderless tool window under the box that shows
// the entries beginning with the box's text, at most eight rows high with a scroll bar beyond.
// The first match is selected when the list shows, so Enter takes it.
// The user picks a row with the cursor keys (the box passes them on) or the mouse; the
// bottom-right corner is a size grip, and the size the user gives the list is kept for its
// later showings.
//
// The list hides itself on a right click, on a click on its frame, after a click on an entry
// and when the box's window moves or changes size; the box hides it on the other occasions
// (focus lost, Enter, Escape, the application switched).
class CAutoCompleteList : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMaxRows = 8;
    static constexpr int kBorder = 1;
    // Room above and below each row's text, and left and right of it.
    static constexpr int kRowPadding = 3;
    static constexpr int kTextIndent = 4;
    // How often the box's window is checked for a move while the list is shown.
    static constexpr int kWatchInterval = 200;
    // How long a clicked entry stays on show before the list goes.
    static constexpr int kClickLinger = 500;
    // Lists with more matches than this jump to a row instead of scrolling to it row by row.
    static constexpr int kSmoothScrollLimit = 50;
    static constexpr int kSmoothScrollStep = 10;

    // The list of the box `owner`: a top-level tool window that the box's window keeps.
    explicit CAutoCompleteList(QWidget* owner);

    void AddCompletion(const QString& entry);
    const CCompletionIndex& Completions() const { return m_index; }

    // A matching pass over the box's whole text: the matches are listed and the list is shown
    // under the box, or hidden when the text is empty or begins no entry. True when shown.
    bool ShowMatches(const QString& text);
    // Hides the list and forgets its selection and scroll position.
    void HideList();

    int MatchCount() const { return int(m_matches.size()); }
    const QStringList& Matches() const { return m_matches; }
    int SelectedIndex() const { return m_nSelected; }
    // The selected match, or the first when none is selected.
    QString SelectedText() const;
    int TopIndex() const { return m_nTop; }
    int RowHeight() const { return m_nRowHeight; }
    int VisibleRows() const;
    bool ScrollBarShown() const;
    QScrollBar* ScrollBar() const { return m_scrollBar; }
    // The size the user gave the list with the grip; empty until then.
    QSize SavedSize() const { return m_savedSize; }
    // The bottom-right square that resizes the list.
    QRect GripRect() const;
    // The rectangle of a visible match in list coordinates (empty when it is scrolled away).
    QRect RowRect(int index) const;

    // A movement key (Up, Down, Page Up, Page Down, Home, End) moves the selection, wrapping
    // past either end, and brings the row into view. False for any other key.
    bool MoveSelection(int key);

Q_SIGNALS:
    // The user clicked an entry: the box takes the selected entry.
    void EntryClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // What every hiding does: no selection, the first match at the top, no timers.
    void Reset();
    int GripSize() const;
    // The area of the rows: inside the frame, left of the scroll bar when it shows.
    QRect RowArea() const;
    QRect ClientArea() const;
    // The match under a point, -1 on none.
    int IndexAt(const QPoint& point) const;
    void SetTopIndex(int top);
    int MaxTopIndex() const;
    void UpdateScrollBar();
    void EnsureVisible(int index, bool smooth);
    void DrawGrip(class QPainter& painter) const;
    // Where a list of this size shows: under the box, or above it when it does not fit below
    // and there is more room above.
    QRect PopupGeometry(const QSize& size) const;
    // The rectangle of the window the box sits in, as the watch compares it.
    QRect OwnerWindowRect() const;

    QWidget* m_owner;
    CCompletionIndex m_index;
    QStringList m_matches;
    int m_nTop = 0;
    int m_nSelected = -1;
    int m_nRowHeight;
    int m_nScrollTarget = 0;
    QScrollBar* m_scrollBar;
    QRect m_ownerRect;
    QSize m_savedSize;
    bool m_bResizing = false;
    QPoint m_resizeStart;
    QSize m_resizeStartSize;
    QBasicTimer m_watchTimer;
    QBasicTimer m_scrollTimer;
    QBasicTimer m_lingerTimer;
};

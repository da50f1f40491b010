#pragma once

#include <QList>
#include <QRect>
#include <QString>

// Where the main window opens: as the user left it when the program last closed, kept in
// setup.ini, section "Window" ("Geometry=x,y,width,height" of the window's normal, not
// maximised, inside; "Maximized=1" or "0"). The first time, and when that place lies on no
// screen now, it opens maximised over a normal size of most of the screen's free area, centred,
// so that it also has a sensible size where no window manager maximises it.
struct WindowPlace
{
    QRect normal;
    bool maximized = true;
};

// Most of `available`, centred in it.
QRect DefaultWindowRect(const QRect& available);

// The place last written, if it still lies on one of the screens' free areas `screens` (the
// first is the primary screen); otherwise the default place on the primary screen.
WindowPlace ReadWindowPlace(const QString& iniPath, const QList<QRect>& screens);
void WriteWindowPlace(const QString& iniPath, const WindowPlace& place);

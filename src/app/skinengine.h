#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

class QAction;
class QMenu;
class QPainter;
class QWidget;

// Draws every window of the program from a skin file under skin/. A skin names style sheets
// for "Dialog" and "MainFrame" and the images of the navigation bar's "SkinOutlookBar" object.
class CSkinEngine : public QObject
{
    Q_OBJECT
public:
    using SkinObject = int; // 0 = no such object

    static CSkinEngine& Instance();

    bool Initialise();
    // Makes the file's skin the current one; a file that cannot be loaded leaves the previous
    // look and returns false.
    bool LoadSkinFile(const QString& path);
    // Every dialog shown from now on is drawn with this skin resource ("Dialog").
    bool SetDialogSkin(const QString& resourceName);
    // Draws a window with a skin resource ("MainFrame").
    bool SkinWindow(QWidget* window, const QString& resourceName);
    void Shutdown();

    // Shows the menu in the skin's look at a screen position; returns the chosen action.
    QAction* TrackSkinPopupMenu(QMenu* menu, const QPoint& globalPosition, QWidget* owner);

    SkinObject OpenSkinObject(const QString& objectName);
    void CloseSkinObject(SkinObject object);
    bool DrawBackground(SkinObject object, const QString& imageName, QPainter& painter,
                        const QRect& rect);
    bool DrawPart(SkinObject object, const QString& imageName, QPainter& painter,
                  const QRect& rect);

    QString CurrentSkinPath() const;

Q_SIGNALS:
    // A new skin was loaded: windows that drew from skin objects open them again.
    void SkinChanged();

private:
    CSkinEngine();
    struct Private;
    Private* d;
};

#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QPainter;
class QWidget;

// Draws every window of the program from a skin file under skin/. A skin names style sheets
// for "Dialog" and "MainFrame" and the images of the navigation bar's "SkinOutlookBar" object.
// The program makes one and hands it to whoever draws with it; each engine keeps its own skin,
// windows and drawing objects.
class CSkinEngine : public QObject
{
    Q_OBJECT
public:
    using SkinObject = int; // 0 = no such object

    explicit CSkinEngine(QObject* parent = nullptr);
    // Gives the program its unskinned look back, as Shutdown does.
    ~CSkinEngine() override;
    CSkinEngine(const CSkinEngine&) = delete;
    CSkinEngine& operator=(const CSkinEngine&) = delete;

    // Remembers the look the program had without a skin, so Shutdown can restore it.
    bool Initialise();
    // Makes the file's skin the current one; a file that cannot be loaded leaves the previous
    // look and returns false.
    bool LoadSkinFile(const QString& path);
    // Every dialog shown from now on is drawn with this skin resource ("Dialog").
    bool SetDialogSkin(const QString& resourceName);
    // Draws a window with a skin resource ("MainFrame"); the window follows later skin loads.
    bool SkinWindow(QWidget* window, const QString& resourceName);
    // Frees the skin and its objects and gives the program its unskinned look back.
    void Shutdown();

    // Shows the menu in the skin's look at a screen position; returns the chosen action.
    QAction* TrackSkinPopupMenu(QMenu* menu, const QPoint& globalPosition, QWidget* owner);

    // A handle on a drawing object of the current skin; it keeps drawing the skin it was
    // opened on until closed.
    SkinObject OpenSkinObject(const QString& objectName);
    void CloseSkinObject(SkinObject object);
    // Both false when the handle or the image name is unknown; nothing is drawn then.
    bool DrawBackground(SkinObject object, const QString& imageName, QPainter& painter,
                        const QRect& rect);
    bool DrawPart(SkinObject object, const QString& imageName, QPainter& painter,
                  const QRect& rect);
    // A colour the object names ("ItemText", "FolderText"), or the fallback.
    QColor ObjectColor(SkinObject object, const QString& colourName, const QColor& fallback) const;

    QString CurrentSkinPath() const;
    QString CurrentSkinName() const;
    // Why the last LoadSkinFile failed.
    QString LastError() const;

Q_SIGNALS:
    // A new skin was loaded: windows that drew from skin objects open them again.
    void SkinChanged();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Shows the menu at a screen position in the engine's skin, or plain without an engine; returns
// the chosen action, null when the owner went while the menu was open.
QAction* TrackPopupMenu(CSkinEngine* engine, QMenu* menu, const QPoint& globalPosition,
                        QWidget* owner);

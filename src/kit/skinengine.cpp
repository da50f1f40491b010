#include "kit/skinengine.h"

#include "kit/skinfile.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>

#include <map>
#include <vector>

using namespace Qt::StringLiterals;

struct CSkinEngine::Private
{
    std::unique_ptr<CSkinFile> skin;
    QString skinPath;
    QString lastError;
    std::vector<std::pair<QPointer<QWidget>, QString>> skinnedWindows;
    std::map<SkinObject, std::shared_ptr<const SSkinObject>> openObjects;
    SkinObject nextHandle = 1;

    // The program's look before any skin.
    bool captured = false;
    QPalette originalPalette;
    QString originalStyleSheet;
    QString originalStyleName;

    void CaptureOriginalLook()
    {
        if (captured)
            return;
        captured = true;
        originalPalette = QApplication::palette();
        originalStyleSheet = qApp->styleSheet();
        originalStyleName = QApplication::style() ? QApplication::style()->name() : QString();
    }

    static void UseStyle(const QString& name)
    {
        if (name.isEmpty() || !QApplication::style())
            return;
        if (QApplication::style()->name().compare(name, Qt::CaseInsensitive) == 0)
            return;
        if (QStyle* style = QStyleFactory::create(name))
            QApplication::setStyle(style);
    }

    const SSkinObject* Find(SkinObject handle) const
    {
        const auto found = openObjects.find(handle);
        return found == openObjects.end() ? nullptr : found->second.get();
    }

    void ApplyToWindow(QWidget* window, const QString& resourceName) const
    {
        const SSkinResource* resource = skin ? skin->Resource(resourceName) : nullptr;
        if (!resource) {
            window->setStyleSheet(QString());
            window->setPalette(QApplication::palette());
            return;
        }
        window->setPalette(resource->AppliedTo(QApplication::palette()));
        window->setStyleSheet(resource->styleSheet);
    }
};

namespace {
QAction* ExecGuarded(QMenu* menu, const QPoint& globalPosition, QWidget* owner)
{
    QPointer<QWidget> guard(owner);
    QAction* chosen = menu->exec(globalPosition);
    // The owner may have gone while the menu was open; then no command reaches anyone.
    if (owner && !guard)
        return nullptr;
    return chosen;
}
} // namespace

CSkinEngine::CSkinEngine(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}

CSkinEngine::~CSkinEngine()
{
    Shutdown();
}

bool CSkinEngine::Initialise()
{
    d->CaptureOriginalLook();
    return true;
}

bool CSkinEngine::LoadSkinFile(const QString& path)
{
    QString error;
    std::unique_ptr<CSkinFile> skin = CSkinFile::Load(path, &error);
    if (!skin) {
        d->lastError = error;
        return false;
    }
    d->CaptureOriginalLook();
    d->lastError.clear();
    d->skin = std::move(skin);
    d->skinPath = path;
    // Windows skinned earlier follow the new skin at once.
    std::erase_if(d->skinnedWindows, [](const auto& entry) { return entry.first.isNull(); });
    for (const auto& [window, resourceName] : d->skinnedWindows)
        d->ApplyToWindow(window, resourceName);
    Q_EMIT SkinChanged();
    return true;
}

bool CSkinEngine::SetDialogSkin(const QString& resourceName)
{
    d->CaptureOriginalLook();
    const SSkinResource* resource = d->skin ? d->skin->Resource(resourceName) : nullptr;
    if (!resource) {
        // A skin without dialog looks leaves dialogs plain rather than half in the old skin.
        Private::UseStyle(d->originalStyleName);
        QApplication::setPalette(d->originalPalette);
        qApp->setStyleSheet(d->originalStyleSheet);
        return false;
    }
    Private::UseStyle(resource->styleName.isEmpty() ? d->originalStyleName : resource->styleName);
    QApplication::setPalette(resource->AppliedTo(d->originalPalette));
    qApp->setStyleSheet(resource->styleSheet);
    // The application palette replaced the windows' own: give skinned windows theirs again.
    for (const auto& [window, name] : d->skinnedWindows) {
        if (window)
            d->ApplyToWindow(window, name);
    }
    return true;
}

bool CSkinEngine::SkinWindow(QWidget* window, const QString& resourceName)
{
    if (!window)
        return false;
    d->CaptureOriginalLook();
    bool known = false;
    for (auto& [skinned, name] : d->skinnedWindows) {
        if (skinned == window) {
            name = resourceName;
            known = true;
        }
    }
    if (!known)
        d->skinnedWindows.emplace_back(window, resourceName);
    d->ApplyToWindow(window, resourceName);
    return d->skin && d->skin->Resource(resourceName);
}

void CSkinEngine::Shutdown()
{
    d->openObjects.clear();
    for (const auto& [window, name] : d->skinnedWindows) {
        if (window) {
            window->setStyleSheet(QString());
            window->setPalette(QPalette());
        }
    }
    d->skinnedWindows.clear();
    d->skin.reset();
    d->skinPath.clear();
    if (d->captured && qApp) {
        Private::UseStyle(d->originalStyleName);
        QApplication::setPalette(d->originalPalette);
        qApp->setStyleSheet(d->originalStyleSheet);
    }
    d->captured = false;
}

QAction* CSkinEngine::TrackSkinPopupMenu(QMenu* menu, const QPoint& globalPosition, QWidget* owner)
{
    if (!menu)
        return nullptr;
    const SSkinResource* resource = d->skin ? d->skin->Resource(u"PopupMenu"_s) : nullptr;
    if (resource) {
        menu->setPalette(resource->AppliedTo(QApplication::palette()));
        menu->setStyleSheet(resource->styleSheet);
    }
    return ExecGuarded(menu, globalPosition, owner);
}

QAction* TrackPopupMenu(CSkinEngine* engine, QMenu* menu, const QPoint& globalPosition,
                        QWidget* owner)
{
    if (engine)
        return engine->TrackSkinPopupMenu(menu, globalPosition, owner);
    return menu ? ExecGuarded(menu, globalPosition, owner) : nullptr;
}

CSkinEngine::SkinObject CSkinEngine::OpenSkinObject(const QString& objectName)
{
    if (!d->skin)
        return 0;
    std::shared_ptr<const SSkinObject> object = d->skin->Object(objectName);
    if (!object)
        return 0;
    const SkinObject handle = d->nextHandle++;
    if (d->nextHandle <= 0)
        d->nextHandle = 1;
    d->openObjects[handle] = std::move(object);
    return handle;
}

void CSkinEngine::CloseSkinObject(SkinObject object)
{
    d->openObjects.erase(object);
}

bool CSkinEngine::DrawBackground(SkinObject object, const QString& imageName, QPainter& painter,
                                 const QRect& rect)
{
    return DrawPart(object, imageName, painter, rect);
}

bool CSkinEngine::DrawPart(SkinObject object, const QString& imageName, QPainter& painter,
                           const QRect& rect)
{
    const SSkinObject* skinObject = d->Find(object);
    if (!skinObject)
        return false;
    const auto image = skinObject->images.find(imageName);
    if (image == skinObject->images.end())
        return false;
    image->second.Paint(painter, QRectF(rect));
    return true;
}

QColor CSkinEngine::ObjectColor(SkinObject object, const QString& colourName,
                                const QColor& fallback) const
{
    const SSkinObject* skinObject = d->Find(object);
    if (!skinObject)
        return fallback;
    const auto colour = skinObject->colours.find(colourName);
    return colour == skinObject->colours.end() ? fallback : colour->second;
}

QString CSkinEngine::CurrentSkinPath() const
{
    return d->skinPath;
}

QString CSkinEngine::CurrentSkinName() const
{
    return d->skin ? d->skin->Name() : QString();
}

QString CSkinEngine::LastError() const
{
    return d->lastError;
}

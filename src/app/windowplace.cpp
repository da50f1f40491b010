#include "app/windowplace.h"

#include "app/inifile.h"

#include <QStringList>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kSection = u"Window"_s;
const QString kGeometry = u"Geometry"_s;
const QString kMaximized = u"Maximized"_s;

// Of the free area, the window's normal size takes this share in each direction.
constexpr double kDefaultShare = 0.85;
// A window counts as on a screen when at least this much of its top, where the title bar is
// grabbed, lies on it.
constexpr int kGrabWidth = 100;
constexpr int kGrabHeight = 40;

std::optional<QRect> ParseRect(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QRect rect(values[0], values[1], values[2], values[3]);
    if (rect.width() <= 0 || rect.height() <= 0)
        return std::nullopt;
    return rect;
}

} // namespace

QRect DefaultWindowRect(const QRect& available)
{
    QRect rect(0, 0, static_cast<int>(available.width() * kDefaultShare),
               static_cast<int>(available.height() * kDefaultShare));
    rect.moveCenter(available.center());
    return rect;
}

WindowPlace ReadWindowPlace(const QString& iniPath, const QList<QRect>& screens)
{
    WindowPlace place;
    if (screens.isEmpty())
        return place;
    place.normal = DefaultWindowRect(screens.first());
    const std::optional<QRect> saved = ParseRect(inifile::ReadString(iniPath, kSection, kGeometry));
    if (!saved)
        return place;
    const QRect top(saved->topLeft(), QSize(saved->width(), kGrabHeight));
    for (const QRect& screen : screens) {
        const QRect grab = top.intersected(screen);
        if (grab.width() < std::min(kGrabWidth, saved->width()) || grab.height() < kGrabHeight)
            continue;
        // A screen smaller than it was: the window shrinks to fit, its corner kept on it.
        place.normal = QRect(saved->topLeft(), saved->size().boundedTo(screen.size()));
        place.maximized = inifile::ReadString(iniPath, kSection, kMaximized, u"1"_s) != u"0"_s;
        return place;
    }
    return place;
}

void WriteWindowPlace(const QString& iniPath, const WindowPlace& place)
{
    const QRect& rect = place.normal;
    inifile::WriteString(
        iniPath, kSection, kGeometry,
        u"%1,%2,%3,%4"_s.arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height()));
    inifile::WriteString(iniPath, kSection, kMaximized, place.maximized ? u"1"_s : u"0"_s);
}

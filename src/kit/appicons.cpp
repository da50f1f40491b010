#include "kit/appicons.h"

#include <QString>

#include <array>
#include <initializer_list>
#include <mutex>

using namespace Qt::StringLiterals;

// The pictures are compiled into the static GUI library, and a program takes their object
// file only when something refers to it: registering them by hand does, and registers them.
// Must stand outside any namespace.
static void RegisterIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

// Each picture name stands for the files ":/icons/<name>-<size>.png".
QIcon IconFromFiles(const QString& name, std::initializer_list<int> sizes)
{
    static std::once_flag registered;
    std::call_once(registered, RegisterIconResources);
    QIcon icon;
    for (const int size : sizes)
        icon.addFile(u":/icons/%1-%2.png"_s.arg(name).arg(size), QSize(size, size));
    return icon;
}

QIcon ThreeSizeIcon(const QString& name)
{
    return IconFromFiles(name, {16, 32, 64});
}

} // namespace

QIcon NavigationIcon(int position)
{
    static const std::array<QString, kNavigationIconCount> names = {
        u"contact"_s,     u"appointment"_s, u"note"_s,       u"reminder"_s,  u"find"_s,
        u"export"_s,      u"purchase"_s,    u"sale"_s,       u"help"_s,      u"about"_s,
        u"website"_s,     u"mail"_s,        u"exit"_s,       u"client"_s,    u"postcode"_s,
        u"addressbook"_s, u"settings"_s,    u"statistics"_s, u"catalogue"_s,
    };
    if (position < 0 || position >= kNavigationIconCount)
        return {};
    return ThreeSizeIcon(names[std::size_t(position)]);
}

QIcon ListIcon(int position)
{
    static const std::array<QString, kListIconCount> names = {
        u"record"_s,
        u"settled"_s,
        u"reminder"_s,
        u"detail"_s,
    };
    if (position < 0 || position >= kListIconCount)
        return {};
    return ThreeSizeIcon(names[std::size_t(position)]);
}

QIcon ProgramIcon()
{
    return IconFromFiles(u"vantrel"_s, {16, 32, 48, 64, 128});
}

#include "kit/picturepath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// The entry of `folder` named `name` without regard to case; "" when there is none.
QString FindCaseBlind(const QString& folder, const QString& name)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

bool RelativePicturePath(const QString& home, const QString& chosen, QString& relative)
{
    // Only a match at the start counts: a path that holds the home directory later on lies
    // elsewhere.
    if (!chosen.startsWith(home, Qt::CaseInsensitive))
        return false;
    relative = chosen.mid(home.size());
    return true;
}

QString ResolvePicturePath(const QString& home, const QString& relative)
{
    const QString exact = home + relative;
    if (exact.isEmpty() || QFileInfo::exists(exact))
        return exact;
    const QStringList parts = exact.split(u'/');
    QString found = exact.startsWith(u'/') ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        const QString folder = found;
        if (!found.isEmpty() && !found.endsWith(u'/'))
            found += u'/';
        if (QFileInfo::exists(found + part)) {
            found += part;
            continue;
        }
        const QString entry = FindCaseBlind(folder, part);
        if (entry.isEmpty())
            return exact;
        found += entry;
    }
    return found;
}

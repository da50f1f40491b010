#include "app/inifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
QStringList ReadLines(const QString& iniPath)
{
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(u"\r\n"_s, u"\n"_s);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section name of a "[name]" line, or a null string for any other line.
QString SectionOf(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(u'[') && trimmed.endsWith(u']'))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return {};
}

bool IsKeyLine(const QString& line, const QString& key, QString* value = nullptr)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
        return false;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value) {
        QString text = line.mid(equals + 1).trimmed();
        if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
            text = text.mid(1, text.size() - 2);
        *value = text;
    }
    return true;
}
} // namespace

namespace inifile {

QString ReadString(const QString& iniPath, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    bool inSection = false;
    for (const QString& line : ReadLines(iniPath)) {
        const QString name = SectionOf(line);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && IsKeyLine(line, key, &value))
            return value;
    }
    return defaultValue;
}

bool WriteString(const QString& iniPath, const QString& section, const QString& key,
                 const QString& value)
{
    QStringList lines = ReadLines(iniPath);
    const QString newLine = key + u'=' + value;
    qsizetype sectionEnd = -1; // where a missing key goes: after the section's last entry
    bool inSection = false;
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        const QString name = SectionOf(lines.at(i));
        if (!name.isNull()) {
            if (inSection)
                break;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (IsKeyLine(lines.at(i), key)) {
            lines[i] = newLine;
            written = true;
        } else if (!lines.at(i).trimmed().isEmpty()) {
            sectionEnd = i + 1;
        }
    }
    if (!written) {
        if (sectionEnd < 0) {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines << QString();
            lines << u'[' + section + u']';
            sectionEnd = lines.size();
        }
        lines.insert(sectionEnd, newLine);
    }

    QSaveFile file(iniPath);
    // A writable file in a folder that is not: write in place rather than fail.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(lines.join(u'\n').toUtf8());
    file.write("\n");
    return file.commit();
}

} // namespace inifile

#include "kit/skinfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

QPalette SSkinResource::AppliedTo(QPalette base) const
{
    for (const auto& [role, colour] : colours) {
        base.setColor(QPalette::All, role, colour);
        // Disabled text stays readable but visibly dimmed.
        if (role == QPalette::WindowText || role == QPalette::Text ||
            role == QPalette::ButtonText) {
            QColor dimmed = colour;
            dimmed.setAlphaF(0.45f);
            base.setColor(QPalette::Disabled, role, dimmed);
        }
    }
    return base;
}

namespace {

struct SEntry
{
    QString key;
    QString value;
    int line = 0;
};

struct SSection
{
    QString name;
    int line = 0;
    std::vector<SEntry> entries;
};

const QHash<QString, QPalette::ColorRole>& PaletteRoles()
{
    static const QHash<QString, QPalette::ColorRole> roles = {
        {u"window"_s, QPalette::Window},
        {u"windowtext"_s, QPalette::WindowText},
        {u"base"_s, QPalette::Base},
        {u"alternatebase"_s, QPalette::AlternateBase},
        {u"text"_s, QPalette::Text},
        {u"button"_s, QPalette::Button},
        {u"buttontext"_s, QPalette::ButtonText},
        {u"brighttext"_s, QPalette::BrightText},
        {u"highlight"_s, QPalette::Highlight},
        {u"highlightedtext"_s, QPalette::HighlightedText},
        {u"tooltipbase"_s, QPalette::ToolTipBase},
        {u"tooltiptext"_s, QPalette::ToolTipText},
        {u"placeholdertext"_s, QPalette::PlaceholderText},
        {u"link"_s, QPalette::Link},
        {u"light"_s, QPalette::Light},
        {u"midlight"_s, QPalette::Midlight},
        {u"mid"_s, QPalette::Mid},
        {u"dark"_s, QPalette::Dark},
        {u"shadow"_s, QPalette::Shadow},
    };
    return roles;
}

bool IsResourceSection(const QString& name)
{
    return name == u"Dialog"_s || name == u"MainFrame"_s || name == u"PopupMenu"_s;
}

QString LineError(int line, const QString& what)
{
    return u"line %1: %2"_s.arg(line).arg(what);
}

// Splits the text into sections of key/value entries; multi-line values run from "<<<" to a
// line holding only ">>>".
bool ReadSections(const QString& text, std::vector<SSection>& sections, QString* error)
{
    static const QRegularExpression sectionPattern(
        uR"(^\[([A-Za-z][A-Za-z0-9_]*(?:\.[A-Za-z][A-Za-z0-9_]*)?)\]$)"_s);
    static const QRegularExpression keyPattern(uR"(^[A-Za-z][A-Za-z0-9_]*$)"_s);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const QRegularExpressionMatch match = sectionPattern.match(line);
            if (!match.hasMatch()) {
                *error = LineError(lineNumber, u"bad section header"_s);
                return false;
            }
            for (const SSection& section : sections) {
                if (section.name == match.captured(1)) {
                    *error = LineError(lineNumber, u"section [%1] repeated"_s.arg(section.name));
                    return false;
                }
            }
            sections.push_back({match.captured(1), lineNumber, {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            *error = LineError(lineNumber, u"expected key = value"_s);
            return false;
        }
        if (sections.empty()) {
            *error = LineError(lineNumber, u"value outside a section"_s);
            return false;
        }
        SEntry entry{line.left(equals).trimmed(), line.mid(equals + 1).trimmed(), lineNumber};
        if (!keyPattern.match(entry.key).hasMatch()) {
            *error = LineError(lineNumber, u"bad key"_s);
            return false;
        }
        if (entry.value == u"<<<"_s) {
            QStringList block;
            qsizetype j = i + 1;
            while (j < lines.size() && lines[j].trimmed() != u">>>"_s)
                block << lines[j++];
            if (j == lines.size()) {
                *error = LineError(lineNumber, u"\"<<<\" without a closing \">>>\""_s);
                return false;
            }
            entry.value = block.join(u'\n');
            i = j;
        }
        for (const SEntry& other : sections.back().entries) {
            if (other.key.compare(entry.key, Qt::CaseInsensitive) == 0) {
                *error = LineError(lineNumber, u"%1 given twice"_s.arg(entry.key));
                return false;
            }
        }
        sections.back().entries.push_back(entry);
    }
    return true;
}

// Replaces every @name by the colour defined under [Colors].
bool SubstituteColours(QString& value, const QHash<QString, QString>& colours, int line,
                       QString* error)
{
    static const QRegularExpression reference(uR"(@([A-Za-z_][A-Za-z0-9_]*))"_s);
    QString result;
    qsizetype last = 0;
    auto it = reference.globalMatch(value);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const auto found = colours.constFind(match.captured(1).toLower());
        if (found == colours.constEnd()) {
            *error = LineError(line, u"unknown colour @%1"_s.arg(match.captured(1)));
            return false;
        }
        result += value.mid(last, match.capturedStart() - last);
        result += *found;
        last = match.capturedEnd();
    }
    result += value.mid(last);
    value = result;
    return true;
}

// The style sheet with every relative url(...) made absolute against the skin's folder: Qt
// reads style-sheet images relative to the current directory, but a skin's images lie beside
// it. Resource paths (":/…") and absolute paths stay as they are.
QString ResolveImageUrls(const QString& sheet, const QString& baseDir)
{
    static const QRegularExpression url(uR"(url\(\s*(["']?)([^"')]+)\1\s*\))"_s);
    if (baseDir.isEmpty())
        return sheet;
    const QDir base(baseDir);
    QString result;
    qsizetype last = 0;
    auto it = url.globalMatch(sheet);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString path = match.captured(2).trimmed();
        if (path.startsWith(u':') || QDir::isAbsolutePath(path))
            continue;
        result += sheet.mid(last, match.capturedStart() - last);
        result += u"url(\"%1\")"_s.arg(base.absoluteFilePath(path));
        last = match.capturedEnd();
    }
    result += sheet.mid(last);
    return result;
}

} // namespace

std::unique_ptr<CSkinFile> CSkinFile::Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"%1: %2"_s.arg(path, file.errorString());
        return nullptr;
    }
    // Skins are small; anything large is not one.
    if (file.size() > 4 * 1024 * 1024) {
        *error = u"%1: too large for a skin"_s.arg(path);
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) {
        *error = u"%1: not UTF-8 text"_s.arg(path);
        return nullptr;
    }
    // Editors on Windows like to start UTF-8 files with a byte-order mark.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.remove(u'\r');
    auto skin = Parse(text, QFileInfo(path).absolutePath(), error);
    if (!skin)
        *error = u"%1: %2"_s.arg(path, *error);
    return skin;
}

std::unique_ptr<CSkinFile> CSkinFile::Parse(const QString& text, const QString& baseDir,
                                            QString* error)
{
    std::vector<SSection> sections;
    if (!ReadSections(text, sections, error))
        return nullptr;

    auto skin = std::make_unique<CSkinFile>();
    QHash<QString, QString> colours;
    bool sawHeader = false;
    for (SSection& section : sections) {
        const QString& name = section.name;
        // Colours may build on colours defined above them.
        for (SEntry& entry : section.entries) {
            if (!SubstituteColours(entry.value, colours, entry.line, error))
                return nullptr;
        }
        if (name == u"Skin"_s) {
            sawHeader = true;
            for (const SEntry& entry : section.entries) {
                if (entry.key.compare(u"Format"_s, Qt::CaseInsensitive) == 0 &&
                    entry.value != u"1"_s) {
                    *error = LineError(entry.line, u"unsupported format %1"_s.arg(entry.value));
                    return nullptr;
                }
                if (entry.key.compare(u"Name"_s, Qt::CaseInsensitive) == 0)
                    skin->m_name = entry.value;
            }
        } else if (name == u"Colors"_s) {
            for (const SEntry& entry : section.entries) {
                if (!SkinValue::ParseColour(entry.value)) {
                    *error = LineError(entry.line, u"%1 is not a colour"_s.arg(entry.key));
                    return nullptr;
                }
                colours.insert(entry.key.toLower(), entry.value);
            }
        } else if (IsResourceSection(name)) {
            SSkinResource resource;
            for (const SEntry& entry : section.entries) {
                const QString key = entry.key.toLower();
                if (key == u"style"_s) {
                    resource.styleName = entry.value;
                } else if (key == u"stylesheet"_s) {
                    resource.styleSheet = ResolveImageUrls(entry.value, baseDir);
                } else if (PaletteRoles().contains(key)) {
                    const auto colour = SkinValue::ParseColour(entry.value);
                    if (!colour) {
                        *error = LineError(entry.line, u"%1 is not a colour"_s.arg(entry.key));
                        return nullptr;
                    }
                    resource.colours.emplace_back(PaletteRoles().value(key), *colour);
                } else {
                    *error =
                        LineError(entry.line, u"unknown key %1 in [%2]"_s.arg(entry.key, name));
                    return nullptr;
                }
            }
            skin->m_resources[name] = std::move(resource);
        } else {
            const qsizetype dot = name.indexOf(u'.');
            const QString objectName = dot < 0 ? name : name.left(dot);
            auto& object = skin->m_objects[objectName];
            if (!object)
                object = std::make_shared<SSkinObject>();
            if (dot < 0) {
                for (const SEntry& entry : section.entries) {
                    const auto colour = SkinValue::ParseColour(entry.value);
                    if (!colour) {
                        *error = LineError(entry.line, u"%1 is not a colour"_s.arg(entry.key));
                        return nullptr;
                    }
                    object->colours[entry.key] = *colour;
                }
                continue;
            }
            CSkinImage image;
            for (const SEntry& entry : section.entries) {
                QString reason;
                if (!image.SetProperty(entry.key, entry.value, baseDir, &reason)) {
                    *error = LineError(entry.line, reason);
                    return nullptr;
                }
            }
            QString reason;
            if (!image.Validate(&reason)) {
                *error = LineError(section.line, u"[%1]: %2"_s.arg(name, reason));
                return nullptr;
            }
            object->images[name.mid(dot + 1)] = std::move(image);
        }
    }
    if (!sawHeader) {
        *error = u"no [Skin] section"_s;
        return nullptr;
    }
    if (skin->m_name.isEmpty()) {
        *error = u"[Skin] has no Name"_s;
        return nullptr;
    }
    return skin;
}

const SSkinResource* CSkinFile::Resource(const QString& name) const
{
    const auto found = m_resources.find(name);
    return found == m_resources.end() ? nullptr : &found->second;
}

std::shared_ptr<const SSkinObject> CSkinFile::Object(const QString& name) const
{
    const auto found = m_objects.find(name);
    if (found == m_objects.end())
        return nullptr;
    return found->second;
}

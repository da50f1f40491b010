#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The layers of src/, lowest first. A file may include headers of its own folder and of the
// folders below it; the features (one level) never include one another.
const std::map<QString, int> kLayers = {
    {u"data"_s, 0},  {u"kit"_s, 1},      {u"views"_s, 2}, {u"customers"_s, 3},
    {u"trade"_s, 3}, {u"schedule"_s, 3}, {u"app"_s, 4},
};
// Shipped files (icons, skins, help), no code.
const QString kResources = u"res"_s;

// Module folders whose headers need a window system: src/data stays free of them.
const QStringList kWindowModules = {u"QtGui"_s,           u"QtWidgets"_s,      u"QtOpenGL"_s,
                                    u"QtOpenGLWidgets"_s, u"QtPrintSupport"_s, u"QtSvg"_s,
                                    u"QtSvgWidgets"_s};

// Every header name of the installed Qt Gui and Qt Widgets modules ("QColor", "qcolor.h",
// "QtWidgets", ...), as <...> includes name them.
QSet<QString> WindowHeaders()
{
    QSet<QString> names;
    const QDir headers(QLibraryInfo::path(QLibraryInfo::HeadersPath));
    for (const QString& module : {u"QtGui"_s, u"QtWidgets"_s}) {
        names.insert(module);
        const QDir folder(headers.filePath(module));
        for (const QString& name : folder.entryList(QDir::Files))
            names.insert(name);
    }
    return names;
}

std::optional<int> LayerOf(const QString& folder)
{
    const auto found = kLayers.find(folder);
    if (found == kLayers.end())
        return std::nullopt;
    return found->second;
}

// "file:line: what is wrong" for every include that breaks the order, and for every folder of
// `root` that is no layer.
QStringList LayerViolations(const QString& root, const QSet<QString>& windowHeaders)
{
    QStringList violations;
    const QDir base(root);
    for (const QString& folder : base.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (folder != kResources && !LayerOf(folder))
            violations << u"%1: a folder that is no layer"_s.arg(folder);
    }

    static const QRegularExpression quoted(uR"re(^\s*#\s*include\s*"([^"]+)")re"_s);
    static const QRegularExpression angled(uR"re(^\s*#\s*include\s*<([^>]+)>)re"_s);
    QStringList files;
    QDirIterator walk(root, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext())
        files << base.relativeFilePath(walk.next());
    files.sort();
    for (const QString& path : files) {
        const QStringList parts = path.split(u'/');
        if (parts.size() < 2) {
            violations << u"%1: a source outside every layer"_s.arg(path);
            continue;
        }
        const QString& folder = parts.front();
        if (folder == kResources)
            continue;
        const std::optional<int> own = LayerOf(folder);
        if (!own)
            continue; // reported with its folder
        QFile file(base.filePath(path));
        if (!file.open(QIODevice::ReadOnly)) {
            violations << u"%1: cannot be read"_s.arg(path);
            continue;
        }
        int number = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            ++number;
            const QString where = u"%1:%2: "_s.arg(path).arg(number);
            if (const auto match = quoted.match(line); match.hasMatch()) {
                const QString header = match.captured(1);
                if (header.startsWith(u"."_s) || header.contains(u"/../"_s)) {
                    violations << where + u"a relative include \"%1\""_s.arg(header);
                    continue;
                }
                if (!header.contains(u'/'))
                    continue; // beside the file itself, like a generated moc file
                const QString target = header.section(u'/', 0, 0);
                const std::optional<int> layer = LayerOf(target);
                if (!layer)
                    violations << where + u"\"%1\" is of no layer"_s.arg(header);
                else if (*layer > *own)
                    violations << where + u"%1 includes \"%2\" from above"_s.arg(folder, header);
                else if (*layer == *own && target != folder)
                    violations << where + u"%1 includes \"%2\" of a sibling"_s.arg(folder, header);
            } else if (const auto angle = angled.match(line); angle.hasMatch() && *own == 0) {
                const QString header = angle.captured(1);
                const QString module = header.section(u'/', 0, 0);
                if ((header.contains(u'/') && kWindowModules.contains(module)) ||
                    windowHeaders.contains(header))
                    violations << where + u"data includes the window header <%1>"_s.arg(header);
            }
        }
    }
    return violations;
}

void Plant(const QTemporaryDir& root, const QString& path, const QByteArray& text)
{
    const QString full = QDir(root.path()).filePath(path);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
    file.write(text);
}

} // namespace

TEST(Layers, SourcesIncludeOnlyTheirOwnLayerAndTheOnesBelow)
{
    const QSet<QString> windowHeaders = WindowHeaders();
    // The list is read from the installed Qt: it must be there for the check to mean anything.
    ASSERT_TRUE(windowHeaders.contains(u"QWidget"_s));
    ASSERT_TRUE(windowHeaders.contains(u"QColor"_s));
    ASSERT_TRUE(windowHeaders.contains(u"QPixmap"_s));
    ASSERT_TRUE(windowHeaders.contains(u"qfont.h"_s));
    ASSERT_FALSE(windowHeaders.contains(u"QString"_s));

    const QString root = QStringLiteral(VANTREL_SOURCE_DIR "/src");
    ASSERT_TRUE(QFileInfo::exists(root + u"/data/schema.h"_s)) << root.toStdString();
    ASSERT_TRUE(QFileInfo::exists(root + u"/data/mkdb/main.cpp"_s));
    const QStringList violations = LayerViolations(root, windowHeaders);
    EXPECT_TRUE(violations.isEmpty()) << violations.join(u'\n').toStdString();
}

TEST(Layers, TheCheckFindsEveryKindOfBreach)
{
    QTemporaryDir root;
    Plant(root, u"data/recordset.h"_s, "#include \"data/eachrow.h\"\n#include <QString>\n");
    Plant(root, u"data/colours.cpp"_s, "#include <QtCore/QDate>\n\n#include <QColor>\n");
    Plant(root, u"data/mkdb/main.cpp"_s, "#include <QtWidgets/QApplication>\n");
    Plant(root, u"data/fonts.h"_s, "  #  include <qfont.h>\n");
    Plant(root, u"kit/list.cpp"_s,
          "#include \"data/recordset.h\"\n#include \"kit/list.h\"\n#include \"views/doc.h\"\n");
    Plant(root, u"views/doc.cpp"_s, "#include <QWidget>\n#include \"app/mainframe.h\"\n");
    Plant(root, u"customers/clients.cpp"_s,
          "#include \"views/doc.h\"\n#include \"schedule/reminders.h\"\n");
    Plant(root, u"trade/orders.cpp"_s, "#include \"customers/clients.h\"\n");
    Plant(root, u"schedule/notes.cpp"_s, "#include \"../customers/clients.h\"\n");
    Plant(root, u"app/frame.cpp"_s,
          "#include \"customers/clients.h\"\n#include \"trade/orders.h\"\n#include "
          "\"moc_frame.cpp\"\n"
          "#include \"shell/window.h\"\n");
    Plant(root, u"tools/convert.cpp"_s, "#include \"app/frame.h\"\n");
    Plant(root, u"res/icons/readme.txt"_s, "icons\n");
    Plant(root, u"main.cpp"_s, "int main() {}\n");

    const QStringList expected = {
        u"tools: a folder that is no layer"_s,
        u"app/frame.cpp:4: \"shell/window.h\" is of no layer"_s,
        u"customers/clients.cpp:2: customers includes \"schedule/reminders.h\" of a sibling"_s,
        u"data/colours.cpp:3: data includes the window header <QColor>"_s,
        u"data/fonts.h:1: data includes the window header <qfont.h>"_s,
        u"data/mkdb/main.cpp:1: data includes the window header <QtWidgets/QApplication>"_s,
        u"kit/list.cpp:3: kit includes \"views/doc.h\" from above"_s,
        u"main.cpp: a source outside every layer"_s,
        u"schedule/notes.cpp:1: a relative include \"../customers/clients.h\""_s,
        u"trade/orders.cpp:1: trade includes \"customers/clients.h\" of a sibling"_s,
        u"views/doc.cpp:2: views includes \"app/mainframe.h\" from above"_s,
    };
    EXPECT_EQ(LayerViolations(root.path(), WindowHeaders()), expected);
}

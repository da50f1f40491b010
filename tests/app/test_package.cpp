#include "app/appsettings.h"
#include "app/logindlg.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "kit/messages.h"
#include "kit/skinengine.h"
#include "support/controls.h"
#include "support/modal.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The Debian package of this build, packed by CPack and looked at without installing it: its
// files, its desktop entry and metadata, and the packed program started as a user would.

namespace {

struct Outcome
{
    int exitCode = -1;
    QString output;
};

Outcome Execute(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(90000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, u"%1 did not finish: %2"_s.arg(program, process.errorString())};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Every file and folder under `folder` with its size and time of change, one a line, to see that
// a run wrote nothing there.
std::string TreeState(const QString& folder)
{
    QStringList state;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        state << u"%1 %2 %3"_s.arg(info.filePath())
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch());
    }
    state.sort();
    return state.join(u'\n').toStdString();
}

// The package packed once for the whole program, and its files extracted as it lays them out.
struct Package
{
    QTemporaryDir dir;
    QString deb;
    QString root;
    QString control;
    QString failure;

    Package()
    {
        const Outcome packed = Execute(QStringLiteral(VANTREL_CPACK),
                                       {u"-G"_s, u"DEB"_s, u"--config"_s,
                                        QStringLiteral(VANTREL_BINARY_DIR "/CPackConfig.cmake"),
                                        u"-B"_s, dir.filePath(u"out"_s)});
        deb = dir.filePath(u"out/"_s + QStringLiteral(VANTREL_PACKAGE_FILE));
        if (packed.exitCode != 0 || !QFileInfo(deb).isFile()) {
            failure = u"cpack: "_s + packed.output;
            return;
        }
        root = dir.filePath(u"root"_s);
        control = dir.filePath(u"control"_s);
        for (const QStringList& arguments :
             {QStringList{u"-x"_s, deb, root}, QStringList{u"-e"_s, deb, control}}) {
            const Outcome extracted = Execute(u"dpkg-deb"_s, arguments);
            if (extracted.exitCode != 0)
                failure += extracted.output;
        }
    }
};

const Package& Packed()
{
    static const Package package;
    return package;
}

QString SharedFolder(const Package& package)
{
    return package.root + u"/usr/share/vantrel"_s;
}

} // namespace

TEST(Package, HoldsTheProgramItsFilesAndItsDesktopEntry)
{
    const Package& package = Packed();
    ASSERT_TRUE(package.failure.isEmpty()) << package.failure.toStdString();

    const Outcome contents = Execute(u"dpkg-deb"_s, {u"--contents"_s, package.deb});
    ASSERT_EQ(contents.exitCode, 0) << contents.output.toStdString();
    QStringList files;
    for (const QString& line : contents.output.split(u'\n', Qt::SkipEmptyParts)) {
        const QString path = line.section(u' ', -1);
        if (!path.endsWith(u'/'))
            files << path;
    }
    QStringList expected = {u"./usr/bin/vantrel"_s,
                            u"./usr/share/vantrel/data.db"_s,
                            u"./usr/share/vantrel/sale.db"_s,
                            u"./usr/share/vantrel/setup.ini"_s,
                            u"./usr/share/vantrel/skin/xpsteel.smf"_s,
                            u"./usr/share/vantrel/skin/amber.smf"_s,
                            u"./usr/share/vantrel/skin/midnight.smf"_s,
                            u"./usr/share/vantrel/help/index.html"_s,
                            u"./usr/share/applications/cn.vantrel.Vantrel.desktop"_s,
                            u"./usr/share/metainfo/cn.vantrel.Vantrel.metainfo.xml"_s,
                            u"./usr/share/icons/hicolor/scalable/apps/vantrel.svg"_s,
                            u"./usr/share/doc/vantrel/copyright"_s,
                            u"./usr/share/doc/vantrel/changelog.Debian.gz"_s,
                            u"./usr/share/man/man1/vantrel.1.gz"_s};
    for (const int size : {16, 32, 48, 64, 128}) {
        const QString icon = u"usr/share/icons/hicolor/%1x%1/apps/vantrel.png"_s.arg(size);
        expected << u"./"_s + icon;
        // A picture in a folder of another size is refused by the icon theme.
        EXPECT_EQ(QImage(package.root + u'/' + icon).size(), QSize(size, size)) << size;
    }
    for (const QString& file : expected)
        EXPECT_TRUE(files.contains(file)) << file.toStdString();
    for (const QString& file : files)
        EXPECT_TRUE(file.startsWith(u"./usr/"_s)) << file.toStdString();
    // The program's own reference data, not a file of the build machine's choosing.
    EXPECT_EQ(FileBytes(SharedFolder(package) + u"/data.db"_s),
              FileBytes(QStringLiteral(VANTREL_BINARY_DIR "/generated/data.db")));

    // Dependencies from the libraries the program links, and no script that could remove
    // anything when the package goes: users' files stay in their homes.
    const Outcome fields =
        Execute(u"dpkg-deb"_s, {u"-f"_s, package.deb, u"Package"_s, u"Version"_s, u"Depends"_s});
    EXPECT_TRUE(fields.output.contains(u"Package: vantrel\n"_s)) << fields.output.toStdString();
    EXPECT_TRUE(fields.output.contains(u"Version: 3.11-1\n"_s)) << fields.output.toStdString();
    for (const QString& dependency :
         {u"libqt6widgets6"_s, u"libsqlite3-0"_s, u"libpq5"_s, u"qt6-qpa-plugins"_s})
        EXPECT_TRUE(fields.output.contains(dependency)) << dependency.toStdString();
    EXPECT_EQ(QDir(package.control).entryList({u"*rm"_s, u"*inst"_s}, QDir::Files), QStringList());

    const QString desktop = package.root + u"/usr/share/applications/cn.vantrel.Vantrel.desktop"_s;
    const Outcome entry = Execute(u"desktop-file-validate"_s, {desktop});
    EXPECT_EQ(entry.exitCode, 0);
    EXPECT_EQ(entry.output, QString());
    const QStringList lines = QString::fromUtf8(FileBytes(desktop)).split(u'\n');
    for (const QString& line : {u"Name=Vantrel"_s, u"Name[zh_CN]=Vantrel 销售助理"_s,
                                u"Categories=Office;"_s, u"Exec=vantrel"_s, u"Icon=vantrel"_s})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();

    const Outcome metadata =
        Execute(u"appstreamcli"_s,
                {u"validate"_s, u"--no-net"_s,
                 package.root + u"/usr/share/metainfo/cn.vantrel.Vantrel.metainfo.xml"_s});
    EXPECT_EQ(metadata.exitCode, 0) << metadata.output.toStdString();
    // The metadata together with the desktop entry and icons it names.
    const Outcome tree =
        Execute(u"appstreamcli"_s, {u"validate-tree"_s, u"--no-net"_s, package.root});
    EXPECT_EQ(tree.exitCode, 0) << tree.output.toStdString();
}

TEST(Package, PackedProgramStartsOnItsOwnFilesInTheUsersHome)
{
    const Package& package = Packed();
    ASSERT_TRUE(package.failure.isEmpty()) << package.failure.toStdString();
    const QTemporaryDir home;
    const std::string installed = TreeState(package.root);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.remove(u"XDG_CONFIG_HOME"_s);
    environment.remove(u"XDG_DATA_HOME"_s);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(package.root + u"/usr/bin/vantrel"_s, QStringList());
    ASSERT_TRUE(program.waitForStarted());

    // A first start copies the data file from the installation and backs it up before the
    // sign-in, and then waits there for the user.
    const QDir data(home.filePath(u".local/share/Vantrel"_s));
    QElapsedTimer timer;
    timer.start();
    while (QDir(data.filePath(u"backup"_s)).isEmpty() && program.state() == QProcess::Running &&
           timer.elapsed() < 30000)
        QTest::qWait(100);
    QTest::qWait(500);
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();

    EXPECT_FALSE(QDir(data.filePath(u"backup"_s)).isEmpty());
    EXPECT_TRUE(QFileInfo(data.filePath(u"sale.db"_s)).isFile());
    EXPECT_FALSE(QFileInfo::exists(home.filePath(u"sale.db"_s)));
    EXPECT_EQ(FileBytes(home.filePath(u".config/Vantrel/setup.ini"_s)),
              FileBytes(SharedFolder(package) + u"/setup.ini"_s));
    EXPECT_EQ(TreeState(package.root), installed);
}

TEST(Package, PackedLayoutSignsInOnTheUsersFilesAndSeedsThemOnce)
{
    const Package& package = Packed();
    ASSERT_TRUE(package.failure.isEmpty()) << package.failure.toStdString();
    const QTemporaryDir user;
    const QString configHome = user.filePath(u"config"_s);
    const QString dataHome = user.filePath(u"data"_s);
    qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    const QString programFolder = package.root + u"/usr/bin"_s;

    const CAppPlaces places = CAppSettings::PlacesFor(programFolder, user.path());
    EXPECT_EQ(places.workFolder, dataHome + u"/Vantrel"_s);
    EXPECT_EQ(places.sharedFolder, SharedFolder(package));
    EXPECT_EQ(places.iniPath, configHome + u"/Vantrel/setup.ini"_s);
    {
        CSkinEngine skin;
        CVantrelApp app(places, skin);
        const MessageRecorder messages;
        QStringList users;
        ModalDriver<CLoginDlg> driver([&](CLoginDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"用户登陆"_s);
            users = Items(dialog.UserBox());
            dialog.reject();
        });
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(users, QStringList{u"管理员"_s});
        EXPECT_EQ(messages.Texts(), QStringList());
        EXPECT_EQ(app.SkinName(), u"xpsteel.smf"_s);
        EXPECT_EQ(app.Connections().DataFilePath(), dataHome + u"/Vantrel/sale.db"_s);
        // The postcodes come from the installed reference file.
        ASSERT_NE(app.ReferenceDatabase(), nullptr);
        EXPECT_TRUE(app.ReferenceDatabase()->IsOpen());
        app.ExitInstance();
    }

    // A later start leaves a user's files alone: a data file moved away is not put back.
    QFile::remove(dataHome + u"/Vantrel/sale.db"_s);
    CAppSettings::PlacesFor(programFolder, user.path());
    EXPECT_FALSE(QFileInfo::exists(dataHome + u"/Vantrel/sale.db"_s));

    // A program with its files beside it is a build: it works in the folder it is started in.
    const QTemporaryDir build;
    QDir(build.path()).mkpath(u"bin"_s);
    QDir(build.path()).mkpath(u"share/vantrel"_s);
    QFile::copy(SharedFolder(package) + u"/data.db"_s, build.filePath(u"share/vantrel/data.db"_s));
    QFile::copy(SharedFolder(package) + u"/data.db"_s, build.filePath(u"bin/data.db"_s));
    const CAppPlaces beside = CAppSettings::PlacesFor(build.filePath(u"bin"_s), user.path());
    EXPECT_EQ(beside.workFolder, user.path());
    EXPECT_EQ(beside.sharedFolder, user.path());
    EXPECT_EQ(beside.iniPath, build.filePath(u"bin/setup.ini"_s));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
}

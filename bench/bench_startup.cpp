// Measures start-up on a large data file (about 100 MB: 200,000 orders, 600,000 order lines,
// 50,000 contacts, 10,000 clients) in a working folder of its own:
//   (a) from the start of a new program process to the sign-in dialog on screen, through the
//       start-up steps of the program (skin, reference file, data file, compaction, automatic
//       backup); the first start takes the weekly backup, the second finds it and skips it;
//   (b) a backup of the file (BackupDataFile) by itself;
//   (c) `cp` of the same file, for scale; and a compaction by itself, step by step.
// Run: build/bench/bench/bench_startup [orders]
// (The program started for (a) is this one, with "--start <folder>".)
#include "app/chinesetranslation.h"
#include "app/logindlg.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "data/backup.h"
#include "data/compaction.h"
#include "data/datafileusers.h"
#include "data/schema.h"
#include "kit/appicons.h"
#include "kit/skinengine.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr double kStartGoalSeconds = 2.0;
constexpr double kBackupGoalSeconds = 3.0;

const char* const kClients[] = {"华强电子", "中关村科技", "浦东贸易",
                                "天河商贸", "西湖丝绸",   "锦江食品"};
const char* const kPeople[] = {"张伟", "王芳", "李娜", "刘洋", "陈静", "杨帆", "赵磊", "黄敏"};
const char* const kGoods[] = {"不锈钢螺丝", "液晶显示器", "办公桌椅",
                              "铜芯电缆",   "包装纸箱",   "茶叶礼盒"};
const char* const kUnits[] = {"件", "台", "套", "米", "箱", "盒"};
const char* const kCities[] = {"深圳", "北京", "上海", "广州", "杭州", "成都"};

class Inserter
{
public:
    Inserter(sqlite3* db, const char* sql)
    {
        sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
    }
    ~Inserter() { sqlite3_finalize(m_statement); }
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;

    Inserter& Int(int value)
    {
        sqlite3_bind_int(m_statement, ++m_column, value);
        return *this;
    }
    Inserter& Real(double value)
    {
        sqlite3_bind_double(m_statement, ++m_column, value);
        return *this;
    }
    Inserter& Text(const QString& value)
    {
        const QByteArray utf8 = value.toUtf8();
        if (value.isEmpty())
            sqlite3_bind_null(m_statement, ++m_column);
        else
            sqlite3_bind_text(m_statement, ++m_column, utf8.constData(), int(utf8.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    Inserter& Text(const char* value) { return Text(QString::fromUtf8(value)); }
    bool Run()
    {
        const bool done = sqlite3_step(m_statement) == SQLITE_DONE;
        sqlite3_reset(m_statement);
        m_column = 0;
        return done;
    }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_column = 0;
};

bool Generate(const QString& path, int orders)
{
    QString error;
    if (!CreateDataFile(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    const int clients = 10000;
    const int contacts = 50000;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::mt19937 random(7);
    auto pick = [&](const auto& list) { return list[random() % std::size(list)]; };
    bool ok = true;
    {
        Inserter client(db, "INSERT INTO client (no, name, number, corporation, operator, "
                            "property, type, vocation, important, credit, country, province, "
                            "city, people, turnover, address, zip, site, bank, account, tax, "
                            "survey, remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                            "?, ?, ?, ?, ?, ?, ?, ?)");
        for (int no = 1; no <= clients && ok; ++no) {
            const QString city = QString::fromUtf8(pick(kCities));
            ok = client.Int(no)
                     .Text(u"%1%2分公司"_s.arg(QString::fromUtf8(pick(kClients))).arg(no))
                     .Text(u"KH%1"_s.arg(no, 6, 10, QChar(u'0')))
                     .Text(pick(kPeople))
                     .Text(pick(kPeople))
                     .Text("有限责任公司")
                     .Text("经销商")
                     .Text("电子")
                     .Text(no % 5 ? "一般" : "重要")
                     .Text("良好")
                     .Text("中国")
                     .Text("广东")
                     .Text(city)
                     .Text("100-500人")
                     .Text("1000万以上")
                     .Text(u"%1市科技园路%2号"_s.arg(city).arg(no))
                     .Text("518000")
                     .Text(u"www.client%1.cn"_s.arg(no))
                     .Text("中国工商银行")
                     .Text(u"6222%1"_s.arg(no, 12, 10, QChar(u'0')))
                     .Text(u"440300%1"_s.arg(no, 9, 10, QChar(u'0')))
                     .Text("长期合作客户，每季度回访一次，付款及时。")
                     .Text(QString())
                     .Run();
        }
        Inserter linkman(db, "INSERT INTO linkman (no, client, name, number, sex, nation, "
                             "important, credit, country, province, city, branch, duty, mobile, "
                             "officephone, homephone, fax, qq, msn, email1, email2, birthday, "
                             "\"like\", education, technical, id, location, loczip, address, "
                             "adrzip, holiday, remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                             "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (int no = 1; no <= contacts && ok; ++no) {
            ok = linkman.Int(no)
                     .Int(int(random() % clients) + 1)
                     .Text(pick(kPeople))
                     .Text(u"LX%1"_s.arg(no, 6, 10, QChar(u'0')))
                     .Int(int(random() % 2))
                     .Text("汉族")
                     .Text("一般")
                     .Text("良好")
                     .Text("中国")
                     .Text("广东")
                     .Text(pick(kCities))
                     .Text("采购部")
                     .Text("经理")
                     .Text(u"139%1"_s.arg(no, 8, 10, QChar(u'0')))
                     .Text("0755-83456789")
                     .Text(QString())
                     .Text(QString())
                     .Text(u"%1"_s.arg(100000 + no))
                     .Text(QString())
                     .Text(u"contact%1@example.cn"_s.arg(no))
                     .Text(QString())
                     .Text("1980-05-01 00:00:00")
                     .Text("羽毛球")
                     .Text("本科")
                     .Text("工程师")
                     .Text(QString())
                     .Text(QString())
                     .Text(QString())
                     .Text(no % 3 ? "" : "深圳市南山区科技园")
                     .Text(QString())
                     .Text(QString())
                     .Text(QString())
                     .Run();
        }
        int detailNo = 1;
        for (const char* table : {"inputdata", "outputdata"}) {
            const bool sales = qstrcmp(table, "outputdata") == 0;
            Inserter order(db,
                           QByteArray("INSERT INTO ") + table +
                               " (no, date, paper, item, bargain, client, linkman, goods, "
                               "unit, number, sum, detail, warehouse, principal, square, "
                               "remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            Inserter detail(db, QByteArray("INSERT INTO ") +
                                    (sales ? "outputdetail" : "inputdetail") +
                                    " (no, paper, date, number, sum, person, taster, detail, "
                                    "remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
            for (int no = 1; no <= orders / 2 && ok; ++no) {
                const QDate date = QDate(2015, 1, 1).addDays(int(random() % 3650));
                const double amount = double(random() % 1000000) / 100.0;
                ok = order.Int(no)
                         .Text(date.toString(u"yyyy-MM-dd 00:00:00"_s))
                         .Text(u"%1%2-%3"_s.arg(sales ? u"XS"_s : u"CG"_s)
                                   .arg(date.year())
                                   .arg(no, 6, 10, QChar(u'0')))
                         .Text(no % 5 ? "" : "年度框架")
                         .Text(u"HT-%1"_s.arg(no))
                         .Text(pick(kClients))
                         .Text(pick(kPeople))
                         .Text(pick(kGoods))
                         .Text(pick(kUnits))
                         .Real(double(random() % 500 + 1))
                         .Real(amount)
                         .Text(no % 4 ? "" : "分批交货")
                         .Text("一号仓库")
                         .Text(pick(kPeople))
                         .Int(int(random() % 2))
                         .Text(no % 10 ? "" : "加急")
                         .Run();
                for (int k = 0; k < 3 && ok; ++k) {
                    ok = detail.Int(detailNo++)
                             .Int(no)
                             .Text(date.addDays(k * 10).toString(u"yyyy-MM-dd 00:00:00"_s))
                             .Real(1.0)
                             .Real(amount / 3.0)
                             .Text(pick(kPeople))
                             .Text(QString())
                             .Text(k == 0 ? "银行转账" : "")
                             .Text(k == 2 ? "尾款" : "")
                             .Run();
                }
            }
        }
    }
    const QByteArray counters =
        u"UPDATE snnumber SET client = %1, linkman = %2, inputdata = %3, "
        "outputdata = %3, inputdetail = %4, outputdetail = %4"_s.arg(clients + 1)
            .arg(contacts + 1)
            .arg(orders / 2 + 1)
            .arg(3 * orders + 1)
            .toUtf8();
    ok = ok && sqlite3_exec(db, counters.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "generating: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

// The working folder as an installation has it: setup.ini, the skins, the reference file.
bool Furnish(const QString& folder)
{
    QFile ini(QDir(folder).filePath(u"setup.ini"_s));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write("[Settings]\nSkin=xpsteel.smf\nPath=\nPicPath=\n");
    ini.close();
    const QDir skins(QStringLiteral(VANTREL_SKIN_DIR));
    QDir(folder).mkpath(u"skin"_s);
    for (const QString& name : skins.entryList({u"*.smf"_s}, QDir::Files))
        QFile::copy(skins.filePath(name), QDir(folder).filePath(u"skin/"_s + name));
    return CreateReferenceFile(QDir(folder).filePath(u"data.db"_s));
}

double Seconds(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e9;
}

// A new process of this program: the program's start-up steps up to the sign-in dialog on
// screen. Prints the time of each step, measured from the start of main().
int StartUp(int argc, char** argv, const QElapsedTimer& sinceMain)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Vantrel"_s);
    QApplication::setWindowIcon(ProgramIcon());
    InstallChineseTranslation(application);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString folder = application.arguments().value(2);
    QStringList steps;
    qint64 last = 0;
    const auto step = [&](const char* name) {
        const qint64 now = sinceMain.nsecsElapsed();
        steps << u"%1 %2"_s.arg(QString::fromLatin1(name)).arg(Seconds(now - last), 0, 'f', 3);
        last = now;
    };
    step("application");

    CSkinEngine skin;
    CVantrelApp app(folder, QDir(folder).filePath(u"setup.ini"_s), skin);
    CStartUp start(app);
    skin.Initialise();
    if (!start.ChooseSkin())
        return 1;
    skin.SetDialogSkin(u"Dialog"_s);
    step("skin");
    app.Connections().OpenAreaDatabase();
    if (!start.SettleDatabasePath())
        return 1;
    app.Connections().SetReady(true);
    step("datafile");
    app.Connections().CompactDataFile();
    step("compaction");
    app.Connections().OpenDatabase();
    step("open");
    start.AutoBackup(QDateTime::currentDateTime());
    step("autobackup");

    CLoginDlg dialog(app);
    dialog.show();
    QElapsedTimer waited;
    waited.start();
    while (!(dialog.windowHandle() && dialog.windowHandle()->isExposed())) {
        if (waited.elapsed() > 60000)
            return 1;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QApplication::processEvents();
    step("signin");
    std::printf("shown %.3f %s\n", Seconds(sinceMain.nsecsElapsed()), qPrintable(steps.join(u' ')));
    std::fflush(stdout);
    dialog.hide();
    app.ExitInstance();
    return 0;
}

struct Start
{
    double wall = -1;      // from starting the process to the dialog on screen
    double inProgram = -1; // from main() to the dialog on screen
    QString steps;
};

Start TimeStart(const QString& program, const QString& folder)
{
    Start start;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {u"--start"_s, folder});
    QByteArray output;
    while (!output.contains('\n')) {
        if (!process.waitForReadyRead(300000))
            break;
        output += process.readAllStandardOutput();
    }
    start.wall = Seconds(timer.nsecsElapsed());
    process.waitForFinished(60000);
    const QList<QByteArray> words = output.trimmed().split(' ');
    if (words.size() < 2 || words.first() != "shown") {
        std::fprintf(stderr, "start-up did not reach the sign-in dialog: %s %s\n",
                     output.constData(), process.readAllStandardError().constData());
        start.wall = -1;
        return start;
    }
    start.inProgram = words.at(1).toDouble();
    start.steps = QString::fromUtf8(words.mid(2).join(' '));
    return start;
}

QString StepOf(const QString& steps, const QString& name)
{
    const QStringList words = steps.split(u' ');
    const qsizetype at = words.indexOf(name);
    return at >= 0 && at + 1 < words.size() ? words.at(at + 1) : u"?"_s;
}

void PrintStart(const char* which, const Start& start, double copySeconds)
{
    std::printf("(a) %s start to sign-in dialog: %.3f s (%.3f s from main()), goal < %.1f s: %s\n"
                "    steps (s): %s\n"
                "    compaction %s s, automatic backup %s s; start-up / cp = %.1f\n",
                which, start.wall, start.inProgram, kStartGoalSeconds,
                start.wall < kStartGoalSeconds ? "met" : "MISSED", qPrintable(start.steps),
                qPrintable(StepOf(start.steps, u"compaction"_s)),
                qPrintable(StepOf(start.steps, u"autobackup"_s)), start.wall / copySeconds);
}

// A compaction by itself, each of its steps timed.
QString CompactionSteps(const QString& dataFile)
{
    static const char* const names[] = {"lock",  "stale", "copy",  "check",
                                        "flush", "close", "rename"};
    QStringList steps;
    QElapsedTimer timer;
    timer.start();
    qint64 last = 0;
    DataFileUsers users(dataFile);
    const CompactionResult result =
        CompactDataFile(dataFile, users, nullptr, [&](CompactionStep step) {
            const qint64 now = timer.nsecsElapsed();
            steps << u"%1 %2"_s.arg(QString::fromLatin1(names[int(step)]))
                         .arg(Seconds(now - last), 0, 'f', 3);
            last = now;
            return true;
        });
    if (result != CompactionResult::Compacted)
        return u"failed"_s;
    return u"%1 s: %2"_s.arg(Seconds(timer.nsecsElapsed()), 0, 'f', 3).arg(steps.join(u' '));
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (argc == 3 && qstrcmp(argv[1], "--start") == 0)
        return StartUp(argc, argv, sinceMain);

    QCoreApplication application(argc, argv);
    const int orders = argc > 1 ? std::max(QByteArray(argv[1]).toInt(), 2) : 200000;
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString dataFile = QDir(folder).filePath(u"sale.db"_s);

    QElapsedTimer timer;
    timer.start();
    if (!Generate(dataFile, orders) || !Furnish(folder))
        return 1;
    const double megabytes = double(QFileInfo(dataFile).size()) / (1024.0 * 1024.0);
    std::printf("data file: %.1f MB (%d orders, %d order lines, 50000 contacts, 10000 clients), "
                "made in %.1f s\n",
                megabytes, orders, 3 * orders, Seconds(timer.nsecsElapsed()));

    // (c) first, so that all three read the file from the same warm cache.
    const QString copy = QDir(folder).filePath(u"copy.db"_s);
    timer.restart();
    const int copied = QProcess::execute(u"cp"_s, {dataFile, copy});
    const double copySeconds = Seconds(timer.nsecsElapsed());
    timer.restart();
    QProcess::execute(u"sync"_s, {copy});
    const double syncSeconds = Seconds(timer.nsecsElapsed());
    QFile::remove(copy);
    if (copied != 0)
        return 1;

    const QString program = QCoreApplication::applicationFilePath();
    const Start first = TimeStart(program, folder);
    const Start second = TimeStart(program, folder);
    if (first.wall < 0 || second.wall < 0)
        return 1;
    const double compactedMegabytes = double(QFileInfo(dataFile).size()) / (1024.0 * 1024.0);

    QString written, error;
    timer.restart();
    const bool backedUp = BackupDataFile(dataFile, QDir(folder).filePath(u"bench-backup"_s),
                                         QDateTime::currentDateTime(), &written, &error);
    const double backupSeconds = Seconds(timer.nsecsElapsed());
    if (!backedUp) {
        std::fprintf(stderr, "backup failed: %s\n", qPrintable(error));
        return 1;
    }
    const QString compaction = CompactionSteps(dataFile);

    PrintStart("first start (takes the weekly backup)", first, copySeconds);
    PrintStart("second start (backup is recent)", second, copySeconds);
    std::printf("(b) backup of the %.1f MB file: %.3f s, goal < %.1f s: %s; backup / cp = %.1f\n",
                compactedMegabytes, backupSeconds, kBackupGoalSeconds,
                backupSeconds < kBackupGoalSeconds ? "met" : "MISSED", backupSeconds / copySeconds);
    std::printf("(c) cp of the file: %.3f s (sync of the copy afterwards: %.3f s)\n", copySeconds,
                syncSeconds);
    std::printf("    compaction by itself, %s\n", qPrintable(compaction));
    return 0;
}

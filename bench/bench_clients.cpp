// Measures the client screens on a data file with many clients:
//   (a) opening the client dialog, which fills its eleven dictionary combo boxes;
//   (b) "查询全部" of the client query into the main list (and the lower list's layout).
// Dictionaries are generated twice: at an ordinary size and at 2,000 values each.
// Run: build/h6bench/bench/bench_clients [clients]
#include "benchkit.h"
#include "customers/attributekinds.h"
#include "customers/clientdlg.h"
#include "customers/clientfields.h"
#include "customers/clientquerydlg.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/schema.h"
#include "kit/recordlistmodel.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using benchkit::Bind;
using benchkit::Median;
using benchkit::ThreadSeconds;
using benchkit::Word;

// Distinct values per dictionary, in the kinds' order (性质 ... 年营业额).
std::vector<QStringList> MakeDictionaries(std::mt19937& random, int scale)
{
    static const int ordinary[kAttributeKindCount] = {8, 12, 60, 5, 5, 200, 34, 600, 50, 8, 8};
    std::vector<QStringList> dictionaries;
    for (int kind = 0; kind < kAttributeKindCount; ++kind) {
        const int size = scale > 0 ? scale : ordinary[kind];
        QStringList values;
        while (values.size() < size) {
            const QString value = Word(random, 2 + int(random() % 3));
            if (!values.contains(value))
                values << value;
        }
        dictionaries.push_back(values);
    }
    return dictionaries;
}

void Generate(const QString& path, int clients, int scale)
{
    std::mt19937 random(7);
    const std::vector<QStringList> dictionaries = MakeDictionaries(random, scale);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int kind = 0; kind < kAttributeKindCount; ++kind) {
        sqlite3_stmt* insert = nullptr;
        const QByteArray sql =
            "INSERT INTO " + QByteArray(AttributeKinds()[kind].table) + " (name) VALUES (?)";
        sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr);
        for (const QString& value : dictionaries[size_t(kind)]) {
            Bind(insert, 1, value);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO client (no, name, number, corporation, property, type, "
                       "vocation, important, credit, country, province, city, operator, people, "
                       "turnover, address, zip, site, bank, account, tax, survey, remark) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (int no = 1; no <= clients; ++no) {
        int column = 1;
        sqlite3_bind_int(insert, column++, no);
        Bind(insert, column++, Word(random, 4) + u"有限公司"_s);
        Bind(insert, column++, u"C%1"_s.arg(no, 6, 10, QLatin1Char('0')));
        Bind(insert, column++, Word(random, 2));
        for (int kind = 0; kind < kAttributeKindCount; ++kind) {
            const QStringList& values = dictionaries[size_t(kind)];
            Bind(insert, column++, values[int(random() % values.size())]);
        }
        Bind(insert, column++, Word(random, 6) + u"路%1号"_s.arg(random() % 999));
        Bind(insert, column++, QString::number(100000 + random() % 800000));
        Bind(insert, column++, u"http://www.c%1.example.com"_s.arg(no));
        Bind(insert, column++, Word(random, 4) + u"银行"_s);
        Bind(insert, column++, QString::number(6222000000000000ULL + random()));
        Bind(insert, column++, QString::number(440300000000000ULL + random()));
        Bind(insert, column++, Word(random, 40));
        Bind(insert, column++, no % 3 ? QString() : Word(random, 12));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void Measure(const QString& dir, int clients, int scale, const char* title)
{
    const QString path = dir + u"/sale-%1.db"_s.arg(scale);
    if (!CreateDataFile(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        return;
    }
    Generate(path, clients, scale);
    CADODatabase db;
    if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
        return;
    }

    QWidget window;
    window.resize(1000, 700);
    CVantrelDoc doc(&db);
    auto* layout = new QVBoxLayout(&window);
    auto* view = new CVantrelView(doc, &window);
    layout->addWidget(view, 3);
    layout->addWidget(new CMiddleListView(doc, &window), 2);
    window.show();
    QApplication::processEvents();

    constexpr int kRuns = 7;
    std::vector<double> opening;
    std::vector<double> openingCpu;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = ThreadSeconds();
        CClientDlg dialog(&db, view, &window);
        dialog.show();
        QApplication::processEvents();
        opening.push_back(double(timer.nsecsElapsed()) / 1e9);
        openingCpu.push_back(ThreadSeconds() - cpu);
        dialog.close();
    }

    std::vector<double> listing;
    std::vector<double> listingCpu;
    for (int run = 0; run < kRuns; ++run) {
        CClientQueryDlg dialog(&db, doc, &window);
        dialog.show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        const double cpu = ThreadSeconds();
        dialog.OnQueryAll();
        QApplication::processEvents(); // the list lays out and paints its rows
        listing.push_back(double(timer.nsecsElapsed()) / 1e9);
        listingCpu.push_back(ThreadSeconds() - cpu);
    }
    // Of which the access layer: running the statement and reading every shown field.
    std::vector<double> reading;
    std::vector<double> statement;
    for (int run = 0; run < kRuns; ++run) {
        const double cpu = ThreadSeconds();
        CADORecordset recordset(&db);
        recordset.Open(CClientQueryDlg::QueryAllStatement());
        statement.push_back(ThreadSeconds() - cpu);
        ForEachRow(recordset, [&] {
            QString value;
            for (const ClientField& field : ClientFields())
                recordset.GetFieldText(QLatin1StringView(field.field), value);
        });
        reading.push_back(ThreadSeconds() - cpu);
    }
    std::printf("%s (%d clients, %d rows listed)\n", title, clients, view->List().GetItemCount());
    std::printf("  client dialog opening, eleven combos: median %.3f s wall, %.3f s processor "
                "(goal < 0.2 s)\n",
                Median(opening), Median(openingCpu));
    std::printf("  \"查询全部\" into the main list:       median %.3f s wall, %.3f s processor "
                "(goal < 0.3 s)\n",
                Median(listing), Median(listingCpu));
    std::printf("    of which the access layer: statement %.3f s, with reading the fields %.3f s "
                "(processor)\n",
                Median(statement), Median(reading));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int clients = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20000;
    QTemporaryDir dir;
    Measure(dir.path(), clients, 0, "Ordinary dictionaries (5 to 600 values)");
    Measure(dir.path(), clients, 2000, "Large dictionaries (2,000 values each)");
    return 0;
}

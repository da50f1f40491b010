// Measures 资料管理 > "导入客户…" on a workbook of 20,000 clients (22 columns, written by the
// program's own Excel export) into an empty data file: reading the sheet and planning the
// rows (the dialog's preview and report), then the import itself with its numbers, its
// dictionary values and the main list of what was added. Raw: the same rows inserted
// through one prepared SQLite statement in one transaction. Floor: Qt's XML reader over the
// unpacked sheet, doing nothing with what it reads.
// Run: build/bench/bench/bench_import [clients]
#include "benchkit.h"
#include "customers/attributekinds.h"
#include "customers/importdlg.h"
#include "data/adodatabase.h"
#include "data/importtable.h"
#include "data/schema.h"
#include "data/tablefile.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <sqlite3.h>

#include <cstdio>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using benchkit::Word;

const QStringList kTitles = {u"客户名称"_s, u"编号"_s, u"法人"_s,     u"所属业务员"_s, u"性质"_s,
                             u"类别"_s,     u"行业"_s, u"重要度"_s,   u"信誉"_s,       u"国家"_s,
                             u"省"_s,       u"市"_s,   u"员工人数"_s, u"年营业额"_s,   u"地址"_s,
                             u"邮编"_s,     u"主页"_s, u"税号"_s,     u"开户行"_s,     u"帐号"_s,
                             u"概况"_s,     u"备注"_s};

std::vector<QStringList> MakeRows(int clients)
{
    std::mt19937 random(11);
    // A few values per attribute, as a real client list has.
    std::vector<QStringList> attributes;
    for (int kind = 0; kind < kAttributeKindCount; ++kind) {
        QStringList values;
        for (int i = 0; i < 5 + kind * 7; ++i)
            values << Word(random, 2 + int(random() % 2));
        attributes.push_back(values);
    }
    std::vector<QStringList> rows;
    rows.reserve(size_t(clients));
    for (int no = 1; no <= clients; ++no) {
        QStringList row;
        row << Word(random, 4) + u"有限公司%1"_s.arg(no) << u"C%1"_s.arg(no, 6, 10, QChar(u'0'))
            << Word(random, 3);
        for (int kind = 0; kind < kAttributeKindCount; ++kind) {
            const QStringList& values = attributes[size_t(kind)];
            row << values[int(random() % values.size())];
        }
        row << Word(random, 6) + u"路%1号"_s.arg(random() % 999)
            << QString::number(100000 + random() % 800000)
            << u"http://www.c%1.example.com"_s.arg(no)
            << QString::number(440300000000000ULL + random()) << Word(random, 4) + u"银行"_s
            << QString::number(6222000000000000ULL + random()) << Word(random, 30)
            << (no % 3 ? QString() : Word(random, 10));
        rows.push_back(row);
    }
    return rows;
}

// The same rows straight into the file: the least any import of them has to do.
void RawInsert(const QString& path, const std::vector<QStringList>& rows)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = benchkit::Prepare(
        db, "INSERT INTO client (no, name, number, corporation, operator, property, type, "
            "vocation, important, credit, country, province, city, people, turnover, address, "
            "zip, site, tax, bank, account, survey, remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int no = 1;
    for (const QStringList& row : rows) {
        sqlite3_bind_int(insert, 1, no++);
        for (int column = 0; column < row.size(); ++column)
            benchkit::Bind(insert, column + 2, row[column]);
        benchkit::Step(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The worksheet's XML as the import's reader sees it, unpacked.
QByteArray SheetXml(const QString& workbook)
{
    QuaZip zip(workbook);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(u"xl/worksheets/sheet1.xml"_s))
        return {};
    QuaZipFile part(&zip);
    return part.open(QIODevice::ReadOnly) ? part.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int clients = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20000;
    QTemporaryDir dir;
    const std::vector<QStringList> rows = MakeRows(clients);
    TableFileContent content;
    content.name = u"客户"_s;
    for (const QString& title : kTitles)
        content.columns.push_back({title});
    content.rowCount = int(rows.size());
    content.cell = [&rows](int row, int column) { return rows[size_t(row)][column]; };
    const QString workbook = dir.filePath(u"clients.xlsx"_s);
    if (!WriteTableFile(workbook, TableFileFormat::Xlsx, content).Written()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(workbook));
        return 1;
    }

    MessageRecorder messages;
    int run = 0;
    int listed = 0;
    std::unique_ptr<CADODatabase> db;
    QString rawPath;
    std::vector<double> reading;
    const benchkit::Figure figure = benchkit::Time(
        [&] {
            ++run;
            const QString path = dir.filePath(u"sale-%1.db"_s.arg(run));
            rawPath = dir.filePath(u"raw-%1.db"_s.arg(run));
            CreateDataFile(path);
            CreateDataFile(rawPath);
            db = std::make_unique<CADODatabase>();
            db->Open(CADODatabase::ConnectionStringFor(path));
        },
        [&] {
            // The views go before the document they show.
            CVantrelDoc doc(db.get());
            QWidget panes;
            auto* layout = new QVBoxLayout(&panes);
            auto* view = new CVantrelView(doc, &panes);
            layout->addWidget(view);
            layout->addWidget(new CMiddleListView(doc, &panes));
            CImportDlg dialog(ImportKind::Clients, db.get(), doc, &panes);
            const double start = benchkit::ThreadSeconds();
            if (!dialog.Load(workbook))
                std::fprintf(stderr, "cannot load: %s\n", qPrintable(messages.LastText()));
            reading.push_back(benchkit::ThreadSeconds() - start);
            dialog.OnImport();
            listed = view->List().GetItemCount();
        },
        [&] { RawInsert(rawPath, rows); });

    ImportTable table;
    QElapsedTimer timer;
    timer.start();
    ReadImportTable(workbook, table);
    const double sheetOnly = double(timer.nsecsElapsed()) / 1e9;

    // The least the sheet's reading costs with this XML reader: its tokens and nothing else.
    const QByteArray xml = SheetXml(workbook);
    timer.restart();
    QXmlStreamReader tokens;
    tokens.setNamespaceProcessing(false);
    tokens.addData(xml);
    qint64 tokenCount = 0;
    while (!tokens.atEnd() && !tokens.hasError()) {
        tokens.readNext();
        ++tokenCount;
    }
    const double tokensOnly = double(timer.nsecsElapsed()) / 1e9;

    std::printf("Import of %d clients from .xlsx into an empty data file (%d listed after; %s)\n",
                clients, listed, qPrintable(messages.LastText()));
    benchkit::PrintFigure("preview + import (read, plan, write, list)", figure, "SQLite insert",
                          "< 2 s");
    std::printf("    of which reading the sheet and planning the rows: median %.3f s processor; "
                "the sheet alone %.3f s wall\n",
                benchkit::Median(reading), sheetOnly);
    std::printf("    floor: QXmlStreamReader alone over the unpacked sheet (%.1f MB, %lld tokens): "
                "%.3f s wall\n",
                double(xml.size()) / 1e6, static_cast<long long>(tokenCount), tokensOnly);
    return 0;
}

// Measures the materials catalogue on a data file with 10,000 materials and 50,000 picture
// rows (most picture files do not exist; the item measured has 20 pictures, five of them real
// photographs):
//   (a) opening the dialog with its item list filled;
//   (b) re-sorting the list by name, by enterprise and by code;
//   (c) clicking the item with 20 pictures until its picture list is filled, and until the
//       thumbnails have arrived;
//   (d) clicking an item with 200 picture rows over seven large photographs (two of them
//       missing) until its picture list is filled;
//   (e) loading awkward picture files: a JPEG cut off half way, a BMP header that claims
//       20,000 x 20,000 pixels, a GIF of 500 frames.
// Run: build/bench/bench/bench_catalogue [materials]
#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/picture.h"
#include "schedule/cataloguedlg.h"
#include "schedule/catalogueitems.h"
#include "schedule/cataloguepicturelist.h"
#include "support/awkwardpictures.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using benchkit::Bind;
using benchkit::Figure;
using benchkit::Median;
using benchkit::ThreadSeconds;
using benchkit::Time;
using benchkit::Word;

constexpr int kPicturesPerItem = 5;
constexpr int kMeasuredPictures = 20;
// The item of (d), next to the one of (c).
constexpr int kManyPictures = 200;

void Generate(const QString& path, const QString& home, int materials, int measured)
{
    std::mt19937 random(11);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO material (no, number, name, client, price, property, remark) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (int no = 1; no <= materials; ++no) {
        sqlite3_bind_int(insert, 1, no);
        Bind(insert, 2, u"M%1"_s.arg(random() % 100000));
        Bind(insert, 3, Word(random, 2 + int(random() % 3)));
        Bind(insert, 4, Word(random, 4) + u"有限公司"_s);
        Bind(insert, 5, QString::number(double(random() % 100000) / 100.0));
        Bind(insert, 6, Word(random, 12));
        Bind(insert, 7, no % 3 ? QString() : Word(random, 20));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_prepare_v2(db, "INSERT INTO materialimage (id, path) VALUES (?, ?)", -1, &insert,
                       nullptr);
    int picture = 0;
    const auto addPicture = [&](int item, const QString& relative) {
        sqlite3_bind_int(insert, 1, item);
        Bind(insert, 2, relative);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        ++picture;
    };
    for (int item = 1; item <= materials; ++item) {
        if (item == measured || item == measured + 1)
            continue;
        for (int i = 0; i < kPicturesPerItem; ++i)
            addPicture(item, u"photos/%1/%2.jpg"_s.arg(item % 100).arg(picture));
    }
    for (int i = 0; i < kMeasuredPictures; ++i)
        addPicture(measured, u"real/p%1.jpg"_s.arg(i));
    for (int i = 0; i < kManyPictures; ++i)
        addPicture(measured + 1, u"real/p%1.jpg"_s.arg(i % 7));
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    QDir().mkpath(home + u"real"_s);
    for (int i = 0; i < 5; ++i) {
        QImage image(1600, 1200, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 60, 160, 200));
        QPainter(&image).drawEllipse(200, 200, 800, 600);
        image.save(home + u"real/p%1.jpg"_s.arg(i));
    }
}

// The awkward files of (e), written into `folder`.
QStringList WriteAwkwardPictures(const QString& folder)
{
    const auto write = [&folder](const QString& name, const QByteArray& bytes) {
        QFile file(folder + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return folder + name;
    };
    QImage photo(1600, 1200, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QPainter(&photo).drawEllipse(200, 200, 800, 600);
    photo.save(folder + u"whole.jpg"_s);
    QFile whole(folder + u"whole.jpg"_s);
    whole.open(QIODevice::ReadOnly);
    const QString cut = write(u"cut.jpg"_s, whole.read(whole.size() / 2));

    const QString huge = write(u"huge.bmp"_s, awkwardpictures::HugeBmpHeader());

    const QString animation = write(u"many.gif"_s, awkwardpictures::AnimatedGif(500));
    return {cut, huge, animation};
}

void Report(const char* what, const std::vector<double>& wall, const std::vector<double>& cpu,
            double goal)
{
    const double median = Median(wall);
    std::printf("%-44s median %7.1f ms (processor %7.1f ms)  goal < %.0f ms: %s\n", what,
                median * 1000.0, Median(cpu) * 1000.0, goal * 1000.0,
                median < goal ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int materials = argc > 1 ? std::max(100, std::atoi(argv[1])) : 10000;
    const int measured = materials / 2;
    QTemporaryDir dir;
    const QString path = dir.path() + u"/sale.db"_s;
    const QString home = dir.path() + u"/pictures/"_s;
    if (!CreateDataFile(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        return 1;
    }
    Generate(path, home, materials, measured);
    CADODatabase db;
    if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    std::printf("%d materials, %d picture rows\n", materials,
                (materials - 1) * kPicturesPerItem + kMeasuredPictures);

    constexpr int kRuns = 7;
    std::vector<double> openWall, openCpu, sortWall, sortCpu, clickWall, clickCpu, thumbWall;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        double cpu = ThreadSeconds();
        CMaterialDlg dialog(&db, home);
        dialog.resize(1100, 650);
        dialog.show();
        QApplication::processEvents();
        openWall.push_back(double(timer.nsecsElapsed()) / 1e9);
        openCpu.push_back(ThreadSeconds() - cpu);
        if (dialog.Items().Count() != materials)
            std::fprintf(stderr, "list holds %d rows\n", dialog.Items().Count());

        for (int column : {1, 2, 0}) {
            timer.restart();
            cpu = ThreadSeconds();
            dialog.OnSort(column);
            QApplication::processEvents();
            sortWall.push_back(double(timer.nsecsElapsed()) / 1e9);
            sortCpu.push_back(ThreadSeconds() - cpu);
        }

        int row = 0;
        while (row < dialog.Items().Count() && dialog.Items().At(row).no != measured)
            ++row;
        timer.restart();
        cpu = ThreadSeconds();
        dialog.ItemList()->selectRow(row);
        QApplication::processEvents();
        clickWall.push_back(double(timer.nsecsElapsed()) / 1e9);
        clickCpu.push_back(ThreadSeconds() - cpu);
        if (dialog.PictureList()->rowCount() != kMeasuredPictures)
            std::fprintf(stderr, "picture list holds %d rows\n", dialog.PictureList()->rowCount());
        dialog.PictureList()->WaitForThumbnails(10000);
        thumbWall.push_back(double(timer.nsecsElapsed()) / 1e9);
        dialog.close();
    }
    Report("(a) open with 10,000 items listed", openWall, openCpu, 0.3);
    Report("(b) re-sort (name, enterprise, code)", sortWall, sortCpu, 0.1);
    Report("(c) click an item with 20 pictures", clickWall, clickCpu, 0.05);
    std::printf("%-44s median %7.1f ms (no goal)\n", "(c') ... until its thumbnails are shown",
                Median(thumbWall) * 1000.0);

    {
        CMaterialDlg dialog(&db, home);
        dialog.resize(1100, 650);
        dialog.show();
        QApplication::processEvents();
        int many = 0;
        while (many < dialog.Items().Count() && dialog.Items().At(many).no != measured + 1)
            ++many;
        const Figure figure = Time(
            [&dialog] {
                dialog.ItemList()->clearSelection();
                QApplication::processEvents();
            },
            [&dialog, many] {
                dialog.ItemList()->selectRow(many);
                QApplication::processEvents();
            },
            nullptr);
        if (dialog.PictureList()->rowCount() != kManyPictures)
            std::fprintf(stderr, "picture list holds %d rows\n", dialog.PictureList()->rowCount());
        Report("(d) click an item with 200 pictures", figure.wall, figure.cpu, 0.5);
    }

    const QStringList awkward = WriteAwkwardPictures(dir.path() + u"/"_s);
    const char* const names[] = {"(e) load a JPEG cut off half way",
                                 "(e) load a BMP claiming 20,000 x 20,000",
                                 "(e) load a GIF of 500 frames"};
    for (int i = 0; i < awkward.size(); ++i) {
        const QString file = awkward[i];
        const Figure figure = Time(
            nullptr, [&file] { CPicture().Load(file); }, nullptr);
        Report(names[i], figure.wall, figure.cpu, 2.0);
    }
    return 0;
}

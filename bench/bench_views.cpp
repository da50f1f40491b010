// Measures the main record list with 100,000 order rows of 18 columns (the purchase and sales
// layout, the record number hidden in the last one):
//   (a) filling it row by row, as a filler that appends each row as it reads it;
//   (b) filling it in one step (AppendRows);
//   (c) scrolling from the first page to the last and back, one page at a time.
// Each fill includes the view's layout of the new rows and the first paint.
// Run: build/bench/bench/bench_views [rows]
#include "data/formats.h"
#include "kit/recordlistmodel.h"
#include "trade/traderecords.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kColumns = 18;

void PrepareColumns(CVantrelView& view)
{
    static const char16_t* const kTitles[kColumns - 1] = {
        u"日期",     u"单号",     u"项目",       u"合同",     u"客户", u"对方签约人",
        u"单据金额", u"回笼金额", u"回笼百分比", u"货品名称", u"单位", u"数量",
        u"仓库",     u"责任人",   u"结清标志",   u"销售详情", u"备注"};
    view.SetCategory(TradeCategory::kSales);
    view.List().Clear();
    for (int column = 0; column < kColumns - 1; ++column)
        view.List().InsertColumn(column, QString::fromUtf16(kTitles[column]), Qt::AlignLeft,
                                 column >= 15 ? 200 : 80);
    view.List().InsertColumn(kColumns - 1, QString(), Qt::AlignLeft, 0);
}

// The texts of one order row, made before timing starts so only the list is measured.
struct TextRow
{
    QStringList texts;
    int image = 0;
};

std::vector<TextRow> MakeRows(int count)
{
    std::vector<TextRow> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double sum = 100.0 + i % 997;
        const double paid = sum * (i % 5) / 4.0;
        QStringList& texts = rows[size_t(i)].texts;
        texts.reserve(kColumns);
        texts << FormatDate(QDate(2008, 1, 1).addDays(i % 3650)) << u"XS-%1"_s.arg(i)
              << u"项目%1"_s.arg(i % 50) << u"HT-%1"_s.arg(i % 700) << u"华强贸易%1"_s.arg(i % 300)
              << u"张三"_s << FormatAmount(sum) << FormatAmount(paid)
              << FormatPercent(PaidPercent(paid, sum)) << u"钢材"_s << u"吨"_s
              << FormatAmount(i % 40) << u"一号库"_s << u"李四"_s
              << (i % 4 == 0 ? u"已结清"_s : u"未完成"_s) << u"按月结算，含运费"_s << QString()
              << FormatNumber(i + 1);
        rows[size_t(i)].image = i % 4 == 0 ? 1 : 2;
    }
    return rows;
}

double Finish(CVantrelView& view, QElapsedTimer& timer)
{
    view.viewport()->repaint();
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;

    CVantrelDoc doc;
    CVantrelView view(doc);
    view.resize(1200, 600);
    view.show();
    QCoreApplication::processEvents();

    PrepareColumns(view);
    std::vector<TextRow> rows = MakeRows(count);
    QElapsedTimer timer;
    timer.start();
    for (TextRow& row : rows)
        view.List().AppendRow(std::move(row.texts), row.image);
    const double oneByOne = Finish(view, timer);

    PrepareColumns(view);
    CListRows block;
    for (const TextRow& row : MakeRows(count))
        block.AddTexts(row.texts, row.image);
    timer.start();
    view.List().AppendRows(std::move(block));
    const double inOneStep = Finish(view, timer);

    QScrollBar* bar = view.verticalScrollBar();
    const int pages = 200;
    timer.start();
    for (int page = 0; page < pages; ++page) {
        bar->setValue(page % 2 ? bar->minimum() : bar->maximum());
        view.viewport()->repaint();
    }
    const double scroll = timer.nsecsElapsed() / 1e9 / pages;

    std::printf("main list, %d rows x %d columns\n", view.List().GetItemCount(), kColumns);
    std::printf("  fill row by row (AppendRow):    %.3f s\n", oneByOne);
    std::printf("  fill in one step (AppendRows):  %.3f s\n", inOneStep);
    std::printf("  jump first <-> last page + paint: %.2f ms each\n", scroll * 1000);
    return 0;
}

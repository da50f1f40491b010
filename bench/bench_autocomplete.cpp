// Measures the type-ahead client box: a dialog whose client box holds 20,000 client names;
// one character is typed into the empty box and the time until the pop-up list is shown and
// painted is taken. The first keystroke also sorts the names once; later ones do not.
// Run: build/h7bench/bench/bench_autocomplete [names]
#include "kit/autocompletecombo.h"
#include "kit/autocompletelist.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QStringList GenerateNames(int count)
{
    static const char16_t* places[] = {u"北京", u"上海", u"深圳", u"广州", u"杭州", u"成都",
                                       u"南京", u"武汉", u"西安", u"天津", u"重庆", u"苏州"};
    static const char16_t* trades[] = {u"华强电子", u"中关村科技", u"浦东贸易", u"天河商贸",
                                       u"西湖丝绸", u"锦江食品",   u"长江物流", u"东方机械"};
    static const char16_t* kinds[] = {u"有限公司", u"集团", u"厂", u"商行", u"贸易部"};
    std::mt19937 random(20261208);
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i) {
        const auto pick = [&random](auto& list) {
            return QString::fromUtf16(list[random() % std::size(list)]);
        };
        // A quarter of the clients go by Latin names, the rest by place, trade and kind.
        if (random() % 4 == 0)
            names << u"%1%2 Trading %3"_s.arg(QChar(u'A' + char16_t(random() % 26)))
                         .arg(QChar(u'a' + char16_t(random() % 26)))
                         .arg(i);
        else
            names << pick(places) + pick(trades) + pick(kinds) + QString::number(i);
    }
    return names;
}

double TypeAndShow(QComboBox* combo, CAutoCompleteList* list, const QString& character)
{
    combo->lineEdit()->clear();
    list->HideList();
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(combo, &press);
    list->repaint();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!list->isVisible())
        std::printf("pop-up not shown for %s\n", qPrintable(character));
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;

    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* combo = new QComboBox(&dialog);
    layout->addWidget(combo);
    CAutoCompleteCombo box;
    box.Init(combo);
    const QStringList names = GenerateNames(count);
    QElapsedTimer fill;
    fill.start();
    for (const QString& name : names) {
        box.AddString(name);
        box.AddCompletion(name);
    }
    std::printf("%d names loaded into the box in %.1f ms\n", count,
                double(fill.nsecsElapsed()) / 1e6);
    dialog.show();
    combo->setFocus();
    QApplication::processEvents();

    const double first = TypeAndShow(combo, box.List(), u"北"_s);
    std::printf("first keystroke (sorts the names once): %.2f ms, %d matches\n", first,
                box.List()->MatchCount());
    const QString characters[] = {u"北"_s, u"上"_s, u"A"_s, u"z"_s, u"深"_s, u"M"_s};
    std::vector<double> times;
    for (int round = 0; round < 20; ++round)
        for (const QString& character : characters)
            times.push_back(TypeAndShow(combo, box.List(), character));
    std::sort(times.begin(), times.end());
    std::printf("later keystrokes: median %.2f ms, slowest %.2f ms over %zu\n",
                times[times.size() / 2], times.back(), times.size());
    return 0;
}

#include "kit/datepicker.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Clicks into the picker's text where the section shows, as a user aims at it.
void ClickSection(QDateTimeEdit* picker, QDateTimeEdit::Section section)
{
    QLineEdit* edit = picker->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    const int y = edit->height() / 2;
    int first = -1;
    int last = -1;
    for (int x = 1; x < edit->width(); ++x) {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, y));
        if (picker->currentSection() == section) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    ASSERT_GE(first, 0) << "no section " << int(section);
    // Away from the section's edges; twice, as a user clicks again to be sure.
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint((first + last) / 2, y));
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint((first + last) / 2, y));
}

// One click into a section and the digits typed replace it, in the date and the time pickers
// of the record dialogs.
TEST(DatePicker, AClickIntoASectionAndTypingReplacesIt)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    QDateTimeEdit* date = NewDatePicker(u"date"_s, &dialog);
    QDateTimeEdit* time = NewTimePicker(u"time"_s, &dialog);
    layout->addWidget(date);
    layout->addWidget(time);
    date->setDate(QDate(2024, 3, 5));
    time->setTime(QTime(10, 20, 30));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    ClickSection(date, QDateTimeEdit::MonthSection);
    QTest::keyClicks(date, u"11"_s);
    EXPECT_EQ(date->date(), QDate(2024, 11, 5));
    ClickSection(date, QDateTimeEdit::YearSection);
    QTest::keyClicks(date, u"1999"_s);
    EXPECT_EQ(date->date(), QDate(1999, 11, 5));
    ClickSection(date, QDateTimeEdit::DaySection);
    QTest::keyClicks(date, u"8"_s);
    QTest::keyClick(date, Qt::Key_Tab);
    EXPECT_EQ(date->date(), QDate(1999, 11, 8));

    ClickSection(time, QDateTimeEdit::MinuteSection);
    QTest::keyClicks(time, u"45"_s);
    EXPECT_EQ(time->time(), QTime(10, 45, 30));
    ClickSection(time, QDateTimeEdit::HourSection);
    QTest::keyClicks(time, u"9"_s);
    QTest::keyClick(time, Qt::Key_Tab);
    EXPECT_EQ(time->time(), QTime(9, 45, 30));
}

} // namespace

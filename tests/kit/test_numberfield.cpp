#include "kit/datepicker.h"
#include "kit/messages.h"
#include "kit/numberfield.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NumberField, ReadsNumbersWithADecimalPointWhateverTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    MessageRecorder messages;
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    double value = -1.0;

    edit->setText(u" 12.5 "_s);
    EXPECT_TRUE(ReadNumberField(&dialog, edit, u"金额"_s, value));
    EXPECT_EQ(value, 12.5);
    edit->setText(QString());
    EXPECT_TRUE(ReadNumberField(&dialog, edit, u"金额"_s, value));
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(messages.Texts().isEmpty());

    value = 7.0;
    for (const QString& bad : {u"12,5"_s, u"abc"_s, u"1.2.3"_s, u"inf"_s, u"1e999"_s}) {
        edit->setText(bad);
        EXPECT_FALSE(ReadNumberField(&dialog, edit, u"数量"_s, value)) << bad.toStdString();
        EXPECT_EQ(messages.LastText(), u"数量必须填写数字！"_s);
        EXPECT_EQ(edit->selectedText(), bad);
    }
    EXPECT_EQ(value, 7.0);

    EXPECT_EQ(NumberEditText(0.0), u"0"_s);
    EXPECT_EQ(NumberEditText(0.1), u"0.1"_s);
    EXPECT_EQ(NumberEditText(1234567.25), u"1234567.25"_s);
    EXPECT_EQ(NumberEditText(1e6), u"1000000"_s);
    QLocale::setDefault(saved);
}

TEST(DatePicker, ShowsTheDayAndKeepsTheTimeItWasGiven)
{
    QWidget parent;
    QDateTimeEdit* picker = NewDatePicker(u"date"_s, &parent);
    const QDateTime stamp(QDate(2024, 3, 5), QTime(14, 30, 15));
    picker->setDateTime(stamp);
    EXPECT_EQ(picker->text(), u"2024-03-05"_s);
    EXPECT_EQ(picker->dateTime(), stamp);
    picker->setDate(QDate(2025, 1, 2));
    EXPECT_EQ(picker->dateTime(), QDateTime(QDate(2025, 1, 2), QTime(14, 30, 15)));
}

} // namespace

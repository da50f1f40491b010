#include "data/storedvalues.h"

#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;

namespace {

std::string RowText(int row)
{
    return (u"第%1行"_s.arg(row)).toStdString();
}

} // namespace

// A long list is kept in blocks of rows and of texts: every value reads back as written
// however many blocks it spans, when a later row widens them all, and after another list's
// rows are appended.
TEST(StoredValues, KeepsEveryValueAcrossBlocksWideningAndAppending)
{
    const std::string huge(3 << 20, 'x'); // larger than a block of texts
    CStoredValues values;
    std::vector<CStoredValues::Value> prototype(3);
    prototype[2].format = CellFormat::Date;
    for (int row = 0; row < 10000; ++row) {
        ASSERT_EQ(values.AddRow(prototype), row);
        values.SetInteger(row, 0, row * 7);
        values.SetUtf8(row, 1, row == 5000 ? std::string_view(huge) : RowText(row));
        values.SetDateTime(row, 2, QDate(2024, 1, 1).addDays(row % 365), QTime(9, 30));
        if (row == 6000)
            values.SetUtf8(row, 4, "宽"); // widens every row held so far
    }
    ASSERT_EQ(values.Width(), 5);

    CStoredValues more(1);
    for (int row = 0; row < 5000; ++row) {
        more.AddRow();
        more.SetUtf8(row, 0, "尾" + RowText(row));
    }
    const int kept = more.KeepShown(u"共用"_s);
    more.SetShown(4999, 0, kept);
    values.Append(std::move(more));
    ASSERT_EQ(values.RowCount(), 15000);

    for (int row = 0; row < 10000; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(values.At(row, 0).number, row * 7);
        const QString text = values.Text(values.At(row, 1));
        if (row == 5000)
            EXPECT_EQ(text.size(), qsizetype(huge.size()));
        else
            ASSERT_EQ(text, QString::fromStdString(RowText(row)));
        const CStoredValues::Value day = values.At(row, 2);
        ASSERT_EQ(day.format, CellFormat::Date);
        ASSERT_EQ(values.DateTime(day).date(), QDate(2024, 1, 1).addDays(row % 365));
        EXPECT_EQ(values.At(row, 4).kind,
                  row == 6000 ? CStoredValues::Kind::Text : CStoredValues::Kind::Null);
    }
    EXPECT_EQ(values.Text(values.At(6000, 4)), u"宽"_s);
    EXPECT_EQ(values.Text(values.At(10000, 0)), u"尾第0行"_s);
    EXPECT_EQ(values.Text(values.At(14998, 0)), u"尾第4998行"_s);
    EXPECT_EQ(values.Text(values.At(14999, 0)), u"共用"_s);
    EXPECT_EQ(values.At(14999, 1).kind, CStoredValues::Kind::Null);
    EXPECT_EQ(values.At(15000, 0).kind, CStoredValues::Kind::Null);
}

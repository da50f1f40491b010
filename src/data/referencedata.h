#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The reference data ships as CSV files (src/res/refdata) from which the build fills the
// reference file data.db; the program itself only ever reads data.db.

struct CsvTable
{
    QStringList header;
    std::vector<QStringList> rows;
};

// Comma-separated text: fields may be quoted ("a,b", a doubled quote inside for one quote),
// lines end in LF or CRLF, a leading byte-order mark and blank lines are skipped. Every row
// must have as many fields as the header; otherwise nothing, with the line in `error`.
std::optional<CsvTable> ParseCsv(const QString& text, QString* error = nullptr);
std::optional<CsvTable> ReadCsv(const QString& path, QString* error = nullptr);

struct ReferenceSources
{
    QString domestic;      // 省份, 城市, 邮编, 区号 -> section1
    QString cities;        // the city-wide postcodes of domestic's cities (data/citycodes.h)
    QString international; // 洲, 国家及地区, 区号 -> section2
    QString services;      // 名称, 号码, 说明 -> service
};

// Writes the rows of the files into a reference file made by CreateReferenceFile, in one
// transaction; section1 takes the domestic rows with their cities' city-wide postcodes. A file
// whose header is not the expected one is refused, so a changed source never fills the wrong
// columns, and so is a city table that does not agree with the domestic rows (CheckCityCodes),
// with its faults in `error`. Empty fields are stored as NULL.
bool FillReferenceFile(const QString& path, const ReferenceSources& sources,
                       QString* error = nullptr);

#include "data/citycodes.h"

#include <QHash>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Columns of domestic.csv and of citycodes.csv.
enum { kProvince, kPlace, kZip, kSections };
enum { kCityProvince, kCity, kCityZip, kBasis, kPlaces, kExceptions, kReason };

const QString kPublished = u"公布"_s;
const QString kDerived = u"推导"_s;

QStringList Names(const QString& field)
{
    return field.isEmpty() ? QStringList() : field.split(u'、');
}

bool IsPostcode(const QString& text)
{
    if (text.size() != 6)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool IsMunicipality(const QStringList& city)
{
    return city[kCity] == city[kCityProvince];
}

// The domestic rows by province and place name.
using Places = QHash<QString, QHash<QString, const QStringList*>>;

Places PlacesOf(const CsvTable& domestic)
{
    Places places;
    for (const QStringList& row : domestic.rows)
        places[row[kProvince]].insert(row[kPlace], &row);
    return places;
}

// The faults of one row that names a city.
void CheckCity(const QStringList& row, const QHash<QString, const QStringList*>& places,
               const QString& where, QStringList& faults)
{
    const QString& city = row[kCity];
    const QString& zip = row[kCityZip];
    const QStringList* own = places.value(city);
    if (!IsPostcode(zip))
        faults << where + u": the postcode \"%1\" is not six digits"_s.arg(zip);
    if (!own && !IsMunicipality(row))
        faults << where + u": domestic.csv has no such place"_s;
    if (!own && Names(row[kPlaces]).isEmpty())
        faults << where + u": a city without a row of its own must list its districts"_s;
    if (row[kBasis] == kDerived) {
        if (!own || zip != (*own)[kZip].left(4) + u"00"_s)
            faults << where + u": a derived code must be the first four digits of the city's own "
                              u"code followed by 00"_s;
    } else if (row[kBasis] != kPublished) {
        faults << where + u": 依据 is \"%1\", not 公布 or 推导"_s.arg(row[kBasis]);
    }

    // Its own code and its places' codes, to compare with the city-wide code.
    QList<std::pair<QString, const QStringList*>> compared;
    if (own)
        compared.append({city, own});
    for (const QString& name : Names(row[kPlaces]))
        if (const QStringList* place = places.value(name); place && name != city)
            compared.append({name, place});
    const int digits = IsMunicipality(row) ? 2 : 3;
    const QStringList exceptions = Names(row[kExceptions]);
    QSet<QString> sections;
    for (const auto& [name, place] : compared) {
        const QString& code = (*place)[kZip];
        const bool agrees = code.left(digits) == zip.left(digits);
        const bool excepted = exceptions.contains(name);
        if (!agrees && !excepted)
            faults << where + u": %1 %2 does not share the first %3 digits of %4"_s.arg(
                                  name, code, QString::number(digits), zip);
        if (agrees && excepted)
            faults << where + u": %1 %2 is listed as an exception but agrees"_s.arg(name, code);
        if (name != city)
            sections.insert((*place)[kSections]);
    }
    for (const QString& name : exceptions) {
        const bool isCompared = std::any_of(compared.cbegin(), compared.cend(),
                                            [&](const auto& entry) { return entry.first == name; });
        if (!isCompared)
            faults << where + u": the exception %1 is neither the city nor one of its places"_s.arg(
                                  name);
    }
    if (!exceptions.isEmpty() && row[kReason].isEmpty())
        faults << where + u": exceptions without a reason"_s;
    if (!own && sections.size() > 1)
        faults << where + u": its districts have different area codes"_s;
}

} // namespace

QStringList CityCodeTitles()
{
    return {u"省份"_s, u"城市"_s, u"邮编"_s, u"依据"_s, u"下辖"_s, u"例外"_s, u"说明"_s};
}

QStringList CheckCityCodes(const CsvTable& domestic, const CsvTable& cities)
{
    const QStringList domesticTitles{u"省份"_s, u"城市"_s, u"邮编"_s, u"区号"_s};
    if (domestic.header != domesticTitles)
        return {u"domestic.csv: the header is \"%1\", not \"%2\""_s.arg(domestic.header.join(u','),
                                                                        domesticTitles.join(u','))};
    if (cities.header != CityCodeTitles())
        return {u"citycodes.csv: the header is \"%1\", not \"%2\""_s.arg(
            cities.header.join(u','), CityCodeTitles().join(u','))};
    QStringList faults;
    const Places places = PlacesOf(domestic);
    QHash<QString, QHash<QString, int>> named; // how often the table names each place
    for (size_t line = 0; line < cities.rows.size(); ++line) {
        const QStringList& row = cities.rows[line];
        const QString where = u"citycodes.csv line %1 (%2 %3)"_s.arg(
            QString::number(line + 2), row[kCityProvince], row[kCity]);
        const auto province = places.constFind(row[kCityProvince]);
        if (province == places.cend()) {
            faults << where + u": domestic.csv has no such province"_s;
            continue;
        }
        QHash<QString, int>& counts = named[row[kCityProvince]];
        for (const QString& name : Names(row[kPlaces])) {
            if (province->contains(name))
                ++counts[name];
            else
                faults << where + u": domestic.csv has no place %1 in the province"_s.arg(name);
        }
        if (row[kCity].isEmpty()) {
            if (!row[kCityZip].isEmpty() || !row[kBasis].isEmpty() || !row[kExceptions].isEmpty())
                faults << where +
                              u": a row without a city takes no postcode, basis or exceptions"_s;
            if (row[kPlaces].isEmpty() || row[kReason].isEmpty())
                faults << where + u": a row without a city must name its places and say why"_s;
            continue;
        }
        if (province->contains(row[kCity]))
            ++counts[row[kCity]];
        CheckCity(row, *province, where, faults);
    }
    for (const QStringList& row : domestic.rows) {
        const QStringList* first = places.value(row[kProvince]).value(row[kPlace]);
        if (first != &row) {
            faults << u"domestic.csv: %1 %2 is listed twice"_s.arg(row[kProvince], row[kPlace]);
            continue;
        }
        const int count = named.value(row[kProvince]).value(row[kPlace]);
        if (count == 0)
            faults << u"citycodes.csv: %1 %2 belongs to no city"_s.arg(row[kProvince], row[kPlace]);
        else if (count > 1)
            faults << u"citycodes.csv: %1 %2 is named %3 times"_s.arg(row[kProvince], row[kPlace],
                                                                      QString::number(count));
    }
    return faults;
}

std::vector<QStringList> WithCityCodes(const CsvTable& domestic, const CsvTable& cities)
{
    const Places places = PlacesOf(domestic);
    QHash<QString, QHash<QString, QString>> codes; // province -> city -> city-wide code
    QHash<QString, QStringList> added;             // province -> the row of a city to add
    for (const QStringList& city : cities.rows) {
        if (city[kCity].isEmpty())
            continue;
        const auto& province = places[city[kCityProvince]];
        if (province.contains(city[kCity])) {
            codes[city[kCityProvince]].insert(city[kCity], city[kCityZip]);
        } else if (const QStringList* district = province.value(Names(city[kPlaces]).value(0))) {
            added.insert(city[kCityProvince], {city[kCityProvince], city[kCity], city[kCityZip],
                                               (*district)[kSections]});
        }
    }
    std::vector<QStringList> rows;
    rows.reserve(domestic.rows.size() + size_t(added.size()));
    for (const QStringList& row : domestic.rows) {
        if (added.contains(row[kProvince]))
            rows.push_back(added.take(row[kProvince]));
        QStringList copy = row;
        if (const QString zip = codes.value(row[kProvince]).value(row[kPlace]); !zip.isEmpty())
            copy[kZip] = zip;
        rows.push_back(copy);
    }
    return rows;
}

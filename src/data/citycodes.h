#pragma once

#include "data/referencedata.h"

#include <QStringList>

#include <vector>

// The city-wide postcodes (citycodes.csv) beside the domestic places (domestic.csv). Each row
// of the city table is one prefecture-level division or municipality of a province with the
// general postcode of the city, how that code was settled (依据: "公布" as generally published,
// "推导" the first four digits of the city's own code in domestic.csv followed by "00"), the
// county-level places of domestic.csv that belong to it (下辖), those of them whose codes lie
// in another postal zone (例外) and why (说明). A row without a city names the places of its
// province that belong to no city, with the reason.
//
// Columns of citycodes.csv, in their order.
QStringList CityCodeTitles();

// What is wrong with the city table against the domestic places, one line for each fault;
// empty when they agree. The table must name every domestic place exactly once, as a city or as
// a place of one; a city's code shares its first three digits (a municipality's, whose third
// digit is a zone of the city, its first two) with its own code in domestic.csv and with the
// codes of its places, except where the row lists the place as an exception with a reason.
QStringList CheckCityCodes(const CsvTable& domestic, const CsvTable& cities);

// The domestic rows as the lookup lists them: a city's row carries its city-wide postcode, and
// a city that domestic.csv has no row for (a municipality, listed there by its districts) gets
// one first among its province's rows, with the area code of its districts. For tables that
// passed CheckCityCodes.
std::vector<QStringList> WithCityCodes(const CsvTable& domestic, const CsvTable& cities);

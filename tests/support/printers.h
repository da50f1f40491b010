#pragma once

// How GoogleTest prints the texts a failed check shows: as UTF-8 in quotes, so Chinese texts
// read as they are instead of as bytes (a QStringList's elements too). GoogleTest finds PrintTo
// through the argument's namespace at the check, so a test includes this header before its
// first check on texts.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

#pragma once

#include <QByteArray>
#include <QString>

namespace vantrel::postgres {

struct NumberedText
{
    QByteArray sql;     // UTF-8, each ? outside literals, quoted names and comments as $n
    int parameters = 0; // how many there are
    bool runs = false;  // whether anything but blanks and comments is left to run
};

// The program's statements mark their values with ?, PostgreSQL's with $1, $2…
NumberedText NumberPlaceholders(const QString& sql);

} // namespace vantrel::postgres

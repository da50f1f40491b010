#pragma once

#include <QString>

// Pictures are stored by their path relative to the picture home directory; the full path is
// the home directory followed directly by the stored path.

// Whether the file at `chosen` (a full path) lies in the home directory `home`: `chosen` must
// begin with `home`, letters compared without regard to case. `relative` then receives the
// rest of `chosen` in the file's own spelling, so the file is found again where names differ
// by case. With an empty home directory every file is accepted with its whole path.
bool RelativePicturePath(const QString& home, const QString& chosen, QString& relative);

// The full path of a stored picture. When no file has exactly that path, each part of it is
// looked up in its folder without regard to case (older data files keep paths in lower case);
// the exact path comes back when that finds nothing either.
QString ResolvePicturePath(const QString& home, const QString& relative);

#pragma once

#include <QString>

// The configuration file in the form people edit by hand: "[Section]" lines and "Key=Value"
// lines, UTF-8. Section and key names match without regard to case; values are trimmed and one
// pair of surrounding double quotes is dropped. Writing changes one line and keeps the rest of
// the file (comments, other sections, line order) as it was.
namespace inifile {

QString ReadString(const QString& iniPath, const QString& section, const QString& key,
                   const QString& defaultValue = {});
// Replaces the key's value, adding the key or the section where missing. The file is replaced
// in one step, so a crash never leaves half a file. False when the file cannot be written.
bool WriteString(const QString& iniPath, const QString& section, const QString& key,
                 const QString& value);

} // namespace inifile

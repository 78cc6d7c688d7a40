// Private-profile (INI) access with the behaviour of the classic Windows calls the settings
// file was designed for: a missing file, section or key reads as "ERROR"; values are cut at
// 254 characters and at a zero character; sections and keys match without regard to case;
// writing creates the file, section or key as needed and keeps everything else.
#pragma once

#include <QString>

namespace kap {

// Returns the value text of key in section of file, or "ERROR".
QString ReadIniValue(const QString& key, const QString& section, const QString& file);

// Writes key = value into section of file. Returns true on success.
bool WriteIniValue(const QString& value, const QString& key, const QString& section,
                   const QString& file);

}  // namespace kap

// Private-profile (INI) access with the behaviour of the classic Windows calls the settings
// file was designed for: a missing file, section or key reads as "ERROR"; values are cut at
// 254 characters and at a zero character; sections and keys match without regard to case;
// writing creates the file, section or key as needed and keeps everything else.
//
// Only a regular file of at most 1 MB is read. Anything else (a FIFO, a huge or unreadable
// file) reads as missing and is never written, so what it holds is not lost.
#pragma once

#include <QLoggingCategory>
#include <QString>

// Settings files that cannot be written (warnings) or are there but not read (info).
Q_DECLARE_LOGGING_CATEGORY(lcIni)

namespace kap {

inline constexpr qint64 kMaxIniBytes = 1024 * 1024;

// Returns the value text of key in section of file, or "ERROR".
QString ReadIniValue(const QString& key, const QString& section, const QString& file);

// Writes key = value into section of file. Returns true on success.
[[nodiscard]] bool WriteIniValue(const QString& value, const QString& key, const QString& section,
                                 const QString& file);

// Why file is there but is not read (not a regular file, too large, unreadable), or an empty
// string when it is read or does not exist.
QString IniProblem(const QString& file);

}  // namespace kap

// The 8-bit code pages setting files are kept in: Windows-1252 as a Western Windows machine
// writes them, and Shift_JIS as a Japanese one does (Microsoft's code page 932, with its NEC
// and IBM extensions). The tool reads and writes both; which one it writes is the user's
// setting.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kap::codepage {

enum class Encoding { Windows1252, ShiftJis };

// As the user sees it and as kap-cli takes it: "Windows-1252", "Shift_JIS".
QString name(Encoding encoding);
// The encoding a name stands for, without regard to case: "windows-1252", "cp1252",
// "shift_jis", "sjis", "cp932"; nothing for any other name.
[[nodiscard]] std::optional<Encoding> fromName(const QString& name);
// The other of the two.
Encoding other(Encoding encoding);
// What a user of that interface language ("ja", "en") expects files in.
Encoding forLanguage(const QString& languageCode);

// Whether the bytes are text in the encoding throughout. Windows-1252 leaves five bytes
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D); Shift_JIS takes only whole, known characters.
[[nodiscard]] bool isValid(const QByteArray& bytes, Encoding encoding);
// The text of the bytes. Windows-1252 keeps every byte (the undefined ones as the C1
// controls of the same value, as Windows does); a Shift_JIS byte that is no character
// becomes U+FFFD.
QString decode(const QByteArray& bytes, Encoding encoding);

// The first character of text the encoding cannot hold (its index), or nothing.
[[nodiscard]] std::optional<qsizetype> firstUnheld(const QString& text, Encoding encoding);
// The bytes of text; a character the encoding cannot hold is written "?".
QByteArray encode(const QString& text, Encoding encoding);

}  // namespace kap::codepage

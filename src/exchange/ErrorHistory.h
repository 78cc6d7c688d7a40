// The controller's error history: read with "@READ ERR ", shown one message per line, and
// saved as an error record file. The messages are the controller's own; nothing here
// interprets them.
#pragma once

#include "platform/SafeFile.h"
#include "session/Session.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kap::exchange {

inline constexpr int kErrorSlots = 16;
// The history as the window shows it, oldest first; slots the controller did not fill are
// empty.
using ErrorLines = std::array<QString, kErrorSlots>;

// The lines of a reply: its closing "OK" and line end removed, one slot per line, lines
// beyond the 16th dropped.
ErrorLines errorLinesOf(const QString& reply);

// "Error history display" of either main window. Returns the lines to show; nothing after
// the communication-error box or after a refusal, whose box (titled as the operation) shows
// the controller's reply, as Txt_Error does. The setting-mode silence stays off afterwards.
std::optional<ErrorLines> ReadErrorHistory(Session& session);

// The error record file: "TALOR Error Record", the 16 lines, one more empty line, CR LF
// after each.
QByteArray errorRecordBytes(const ErrorLines& lines);
// Replaces the file only once the new one is complete; a read-only file is left as it is.
safefile::SaveResult writeErrorRecord(const QString& path, const ErrorLines& lines);
// "Save" of the history window: asks for the file name and writes the record; a file that
// cannot be written gets its box. False when nothing was saved.
bool SaveErrorRecord(Session& session, const ErrorLines& lines);

}  // namespace kap::exchange

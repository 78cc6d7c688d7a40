// Every file the tool writes or reads goes through here.
//
// A save leaves the target holding either its old bytes or all of the new ones: the new bytes
// go to a temporary file beside it, every step's error is checked (write, flush, sync), and
// the temporary replaces the target only when all went well. A target that is not a regular
// file (a device node, a FIFO), that is marked read-only, or that is a symbolic link planted
// in a shared sticky folder (/tmp) by someone else is refused before anything is written.
//
// A read opens regular files only, never blocks on a FIFO, and stops at a size cap.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace kap::safefile {

struct SaveResult {
    bool ok = false;
    QString error;  // why not, for a message: "No space left on device", "is not a regular file"
    bool readOnly = false;  // the target is marked read-only: the tool's usual message says it all
};

// Why path must not be written, or an empty string when it may be.
QString refusalFor(const QString& path);

// Writes bytes to path (see above).
[[nodiscard]] SaveResult save(const QString& path, const QByteArray& bytes);
// The same with a writer that streams into the temporary file; it returns false when it
// could not write everything (a PNG or PDF encoder, say).
[[nodiscard]] SaveResult save(const QString& path, const std::function<bool(QIODevice&)>& write);

struct ReadResult {
    enum Status {
        Ok,
        Missing,     // no such file
        NotRegular,  // a directory, FIFO, device node or socket
        TooLarge,    // more than the cap
        Unreadable,  // exists but cannot be opened or read
    };
    Status status = Unreadable;
    QByteArray bytes;  // the whole file when Ok
    QString error;
};

// Reads the whole of a regular file of at most maxBytes.
[[nodiscard]] ReadResult read(const QString& path, qint64 maxBytes);

// "PATH is not a regular file.", "PATH: No space left on device": a failure as a sentence.
QString sentence(const QString& path, const QString& error);
// What a failed save adds to the tool's "cannot be saved because it is read only or it is
// opened." message: a paragraph with the real reason, or nothing for a read-only file.
QString detail(const QString& path, const SaveResult& result);

// The message text for a read that failed ("is not a regular file", "is larger than 1 MB" …).
QString describe(const ReadResult& result);

}  // namespace kap::safefile

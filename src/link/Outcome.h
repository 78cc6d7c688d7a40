// What one exchange with the controller brought back, and the words every layer judges it
// by: no answer, a refusal, or a reply to use.
#pragma once

#include <QLatin1String>
#include <QString>

namespace kap {

// How an exchange ended, as the procedures tell it apart.
enum class Verdict {
    NoAnswer,  // no reply word in time, or the line failed (the reply may be cut short then)
    Refused,   // "NG" anywhere in the reply
    Usable,
};

// What one transaction brought back. Each caller gets its own.
struct Outcome {
    QString reply;
    bool timedOut = false;    // no reply word before the deadline
    bool lineFailed = false;  // the port could not be opened or was lost during the wait
    // The controller's error line after "NG" or "STOP" (Txt_Error), when one arrived.
    QString errorLine;
    bool hasErrorWord = false;  // the reply holds "NG" or "STOP"

    // No reply word before the deadline, or the line failed: the reply counts as empty.
    bool noAnswer() const { return timedOut || lineFailed; }
    // The reply holds word anywhere ("OK", "NG", "STOP", "READY", or any other text).
    bool has(const char* word) const { return reply.contains(QLatin1String(word)); }
    Verdict verdict() const
    {
        if (noAnswer())
            return Verdict::NoAnswer;
        return has("NG") ? Verdict::Refused : Verdict::Usable;
    }
};

}  // namespace kap

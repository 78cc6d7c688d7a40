// Talking to a sim::Controller directly: feed it bytes, collect what it sends back.
#pragma once

#include "Controller.h"

#include <QByteArray>
#include <QObject>
#include <QTest>

namespace simtest {

// A reply is complete when it ends in "OK" or "READY", or when the line after "NG" or
// "STOP" has arrived.
inline bool replyComplete(const QByteArray& r)
{
    if (r.endsWith("OK\r\n") || r.endsWith("READY\r\n"))
        return true;
    for (const QByteArray& word : {QByteArray("NG\r\n"), QByteArray("STOP\r\n")}) {
        const qsizetype at = r.indexOf(word);
        if (at >= 0 && r.indexOf("\r\n", at + word.size()) >= 0)
            return true;
    }
    return false;
}

class Wire {
public:
    explicit Wire(sim::Controller& controller) : controller_(controller)
    {
        QObject::connect(&controller, &sim::Controller::transmit, &guard_,
                         [this](const QByteArray& bytes) { out += bytes; });
        QObject::connect(&controller, &sim::Controller::hangup, &guard_, [this] { ++hangups; });
    }

    // Sends bytes and returns the complete reply (or what came within the guard time).
    QByteArray exchange(const QByteArray& bytes, int guardMs = 3000)
    {
        out.clear();
        controller_.receive(bytes);
        (void)QTest::qWaitFor([this] { return replyComplete(out); }, guardMs);
        return std::exchange(out, {});
    }

    // Sends bytes where the controller is expected to stay silent; returns whatever came.
    QByteArray exchangeSilent(const QByteArray& bytes, int waitMs = 100)
    {
        out.clear();
        controller_.receive(bytes);
        QTest::qWait(waitMs);
        return std::exchange(out, {});
    }

    QByteArray out;
    int hangups = 0;

private:
    sim::Controller& controller_;
    QObject guard_;
};

inline QByteArray command(const QByteArray& word, const QByteArray& arg = {})
{
    return word + arg + ",\r\n";
}

}  // namespace simtest

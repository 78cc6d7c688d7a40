// The state the windows of one program share: the serial port name, the link's busy flag,
// the reply timeout shared by the point-input window and the start-up window, and where the
// settings file lives. The application owns one and gives it to each session with its line;
// each of kap-cli's port threads owns its own, so one port never waits for another's exchange.
#pragma once

#include "platform/CodePage.h"

#include <QObject>
#include <QString>

namespace kap {

// A reply timeout in milliseconds. A change while a transaction waits moves its deadline.
class ReplyTimeout : public QObject {
    Q_OBJECT
public:
    explicit ReplyTimeout(float ms = 3000.0f, QObject* parent = nullptr) : QObject(parent), ms_(ms)
    {
    }
    float ms() const { return ms_; }
    void set(float ms)
    {
        ms_ = ms;
        emit changed();
    }

signals:
    void changed();

private:
    float ms_;
};

class ProgramState : public QObject {
    Q_OBJECT
public:
    // "COM1" to "COM8"; a transaction replaces any other name with "COM1" before it opens.
    QString portName = QStringLiteral("COM1");
    ReplyTimeout replyTimeout;

    // The program's own folder; tests point it elsewhere so they never touch a shared file.
    QString programFolder;
    // Where the user's own TALOR.ini goes when the program's folder cannot be written (an
    // installed program in /usr/bin): empty for ~/.config/KAP; tests point it elsewhere.
    QString userFolder;
    // TALOR.ini to read: beside the program, or the user's own copy once there is one and
    // the program's folder cannot be written.
    QString iniPath() const;
    // TALOR.ini to write: beside the program when it can be written there, else the user's
    // own copy (its folder made).
    QString writableIniPath() const;

    bool busy() const { return busy_; }
    void setBusy(bool on)
    {
        busy_ = on;
        if (!on)
            emit busyCleared();
    }

    // Back to the state of a fresh start (tests).
    void reset();

    // The port name from the settings file (key "COM" of section "Data"); COM1 without one.
    // problem: why a settings file that is there was not read, or empty.
    QString readPortName(QString* problem = nullptr) const;
    // Writes the port number under key "COM" of section "Data" in the settings file; a failure
    // is logged (kap.ini) and returned.
    bool storePortNumber() const;

signals:
    void busyCleared();
    // The port dialog's OK: every window shows this port.
    void portChosen(const QString& portName);
    // View > File encoding: every window's session reads and writes files in it from now on.
    void fileEncodingChosen(codepage::Encoding encoding);

private:
    bool busy_ = false;
};

}  // namespace kap

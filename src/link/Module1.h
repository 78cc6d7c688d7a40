// Program-wide state: the serial port name, the link's busy flag, the reply timeout shared by
// the point-input window and the start-up window, and where the settings file lives.
#pragma once

#include <QObject>
#include <QString>

namespace kap {

// A reply timeout in milliseconds. A change while a transaction waits moves its deadline.
class ReplyTimeout : public QObject {
    Q_OBJECT
public:
    explicit ReplyTimeout(float ms = 3000.0f, QObject* parent = nullptr) : QObject(parent), ms_(ms) {}
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

class Module1 : public QObject {
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

signals:
    void busyCleared();

private:
    bool busy_ = false;
};

// The calling thread's program-wide state (the windows all share the main thread's).
Module1& module1();

// The port name from the settings file (key "COM" of section "Data"); COM1 without one.
// problem: why a settings file that is there was not read, or empty.
QString ReadPortName(QString* problem = nullptr);
// Writes the port number under key "COM" of section "Data" in the settings file.
bool StorePortNumber();

}  // namespace kap

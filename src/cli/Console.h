// The terminal of kap-cli, shared by the threads of all ports: message lines on stderr, each
// naming its port; results on stdout; a progress bar per port when stderr is a terminal
// (plain lines otherwise); and the questions put to the user.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

#include <functional>
#include <optional>

namespace kap::cli {

// Text as it may go to a terminal: control characters other than line feed and tab, which
// could clear the screen or retitle the window, shown as the log shows them ("<ESC>", "<BEL>",
// "<9B>"). File and controller text (a Note, a version) passes through here.
QString terminalSafe(const QString& text);

class Console {
public:
    using Sink = std::function<void(const QByteArray&)>;
    // The next line the user typed, without its line end; nothing at the end of input.
    using LineSource = std::function<std::optional<QString>()>;

    // terminal: stderr is a terminal (bars); echo: the input is not, so an answer read from
    // it is written after its question.
    Console(Sink out, Sink err, LineSource in, bool terminal, bool echo = false);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Whether progress is shown at all, and without a terminal as a line per quarter.
    void setProgress(bool shown, bool lines)
    {
        progressShown_ = shown;
        progressLines_ = lines;
    }

    // One slot per port, before the threads start; returns its index.
    int addPort(const QString& label);
    QString label(int slot) const { return slots_.at(slot).label; }

    // "label: text" on stderr.
    void say(int slot, const QString& text);
    // A line on stderr that belongs to no port.
    void sayPlain(const QString& text);
    // Text on stdout (controls shown, see terminalSafe).
    void print(const QString& text);

    void progressShown(int slot, const QString& title, int minimum, int maximum, int value);
    void progressRange(int slot, int minimum, int maximum);
    void progressValue(int slot, int value);
    void progressHidden(int slot);

    // Asks on stderr and reads the answer; true only for y or yes. Nothing when the input
    // has ended.
    std::optional<bool> ask(int slot, const QString& question);

    // The bars stay as they last were; what follows is written below them.
    void releaseBars();

private:
    struct Slot {
        QString label;
        QString title;
        int minimum = 0;
        int maximum = 0;
        int value = 0;
        bool shown = false;
        int percent = -1;  // as last drawn or reported
    };

    int percentOf(const Slot& s) const;
    QString barLine(const Slot& s) const;
    // In terminal mode the bars sit below everything else: they are taken away before a
    // line is written and drawn again after it.
    void eraseBars();
    void drawBars();
    void writeErr(const QString& text);
    void update(Slot& s);

    Sink out_;
    Sink err_;
    LineSource in_;
    bool terminal_;
    bool echo_;
    int labelWidth_ = 0;
    int drawnLines_ = 0;
    bool released_ = false;
    bool progressShown_ = true;
    bool progressLines_ = true;
    QList<Slot> slots_;
    QMutex mutex_;
};

}  // namespace kap::cli

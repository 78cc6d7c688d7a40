#include "cli/Interrupt.h"

#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kap::cli::interrupt {

namespace {

// Everything the handler reads is set up before the threads start and kept in plain arrays:
// a handler may only use async-signal-safe calls (write, fstat, tcsetattr, _exit).
struct Entry {
    char name[128] = {};
    std::atomic<bool> writing{false};
    bool haveSettings = false;
    dev_t device = 0;
    termios settings{};
};

constexpr int kEntries = 64;  // ports beyond these still stop, but are not named
constexpr int kHighestFd = 1024;
Entry entries[kEntries];
std::atomic<int> entryCount{0};
std::atomic<int> signalCount{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// A line for stderr, put together without allocating.
struct Line {
    char text[512] = {};
    size_t size = 0;
    Line& operator<<(const char* part)
    {
        while (*part && size + 1 < sizeof text)
            text[size++] = *part++;
        return *this;
    }
    void write()
    {
        *this << "\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, size);
        size = 0;
    }
};

// Every open descriptor of the device gets its settings back; the port's own descriptor is
// held by its thread, which may be in the middle of a write.
void restoreSettings(const Entry& e)
{
    for (int fd = 0; fd < kHighestFd; ++fd) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == e.device)
            ::tcsetattr(fd, TCSANOW, &e.settings);
    }
}

void onSignal(int)
{
    const int count = entryCount.load();
    Line line;
    if (signalCount.fetch_add(1) == 0) {
        bool anyWriting = false;
        for (int i = 0; i < count; ++i) {
            if (entries[i].writing.load()) {
                anyWriting = true;
                (line << "kap-cli: finishing the write to " << entries[i].name
                      << "; press Ctrl-C again to stop at once")
                    .write();
            }
        }
        if (!anyWriting)
            (line << "kap-cli: stopping after the current step; press Ctrl-C again to stop at once")
                .write();
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (entries[i].haveSettings)
            restoreSettings(entries[i]);
    }
    (line << "kap-cli: stopped at once").write();
    for (int i = 0; i < count; ++i) {
        if (entries[i].writing.load())
            (line << "kap-cli: " << entries[i].name << " now holds partial data; restore it again")
                .write();
    }
    ::_exit(kExitCode);
}

// The line settings of device as they are before kap-cli opens it; false where it is no
// terminal (a plain file, a network address).
bool readSettings(const QString& device, Entry& e)
{
    const int fd = ::open(QFile::encodeName(device).constData(),
                          O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode)
                    && ::tcgetattr(fd, &e.settings) == 0;
    e.device = st.st_rdev;
    ::close(fd);
    return ok;
}

}  // namespace

void install()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Restarted calls: a read of the user's answer goes on waiting after the first Ctrl-C.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool requested()
{
    return signalCount.load() > 0;
}

void setPorts(const QList<PortSpec>& ports)
{
    entryCount.store(0);
    int n = 0;
    for (const PortSpec& port : ports) {
        if (n == kEntries)
            break;
        Entry& e = entries[n++];
        const QByteArray name = port.name.toUtf8().left(int(sizeof e.name) - 1);
        std::memset(e.name, 0, sizeof e.name);
        std::memcpy(e.name, name.constData(), size_t(name.size()));
        e.writing.store(false);
        e.haveSettings = readSettings(port.device, e);
    }
    entryCount.store(n);
}

void setWriting(int slot, bool writing)
{
    if (slot >= 0 && slot < entryCount.load())
        entries[slot].writing.store(writing);
}

}  // namespace kap::cli::interrupt

// Every file the tool writes, onto targets it must not write: a full file system, a FIFO, a
// device, a link planted in a shared folder, a read-only file. Each save says it failed, and
// the target is left as it was, byte for byte.
#include "FileTestSupport.h"
#include "RawPty.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "data/TableHost.h"
#include "exchange/ErrorHistory.h"
#include "files/SettingCommands.h"
#include "link/ExchangeLog.h"
#include "platform/Ini.h"
#include "platform/SafeFile.h"
#include "session/AngleHistory.h"
#include "ui/frame/SettingListPrinting.h"
#include "ui/toolwindows/AnglePlotWindow.h"
#include "ui/toolwindows/CommLogWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kap;
using namespace kap::test;

namespace {

// A file the tool writes. save() writes into path and returns the failure it reported, or an
// empty string when it reported success.
struct Writer {
    const char* name;
    std::function<QString(const QString& path)> save;
};

QString lastBoxSince(const ScriptedDialogs& d, qsizetype before)
{
    return d.boxes.size() > before ? d.boxes.last().text : QStringLiteral("(no box)");
}

const Writer kWriters[] = {
    {"setting file",
     [](const QString& path) {
         ViewedSession v;
         fillPoints(v.session);
         v.dialogs.file(path).ok();
         SettingCommands(v.session).saveAs();
         const QString said = v.dialogs.boxes.last().text;
         if (said == QLatin1String("    Complete."))
             return QString();
         EXPECT_TRUE(isModified(v.session.tableGrid())) << "a failed save cleared the mark";
         return said;
     }},
    {"TALOR.ini",
     [](const QString& path) {
         return WriteIniValue(QStringLiteral("2"), QStringLiteral("COM"), QStringLiteral("Data"),
                              path)
                    ? QString()
                    : QStringLiteral("not written");
     }},
    {"error record",
     [](const QString& path) {
         exchange::ErrorLines lines;
         lines.fill(QStringLiteral("E-01 OVERLOAD"));
         return exchange::writeErrorRecord(path, lines).error;
     }},
    {"communication log",
     [](const QString& path) {
         ScriptedDialogs dialogs;
         ExchangeLog log;
         log.addSent(QStringLiteral("COM1"), "@?VER \r\n");
         CommLogWindow w(log, dialogs);
         dialogs.file(path).ok();
         w.saveAs();
         return dialogs.boxes.isEmpty() ? QString() : dialogs.boxes.last().text;
     }},
    {"angle plot PNG",
     [](const QString& path) {
         PanelState panel;
         AngleHistory history(panel);
         ScriptedDialogs dialogs;
         AnglePlotWindow w(history, Family::PointInput, dialogs);
         w.resize(400, 300);
         QString error;
         return w.exportPng(path, &error) ? QString() : error + QStringLiteral(" ");
     }},
    {"setting list PDF",
     [](const QString& path) {
         ViewedSession v;
         v.dialogs.file(path).ok();
         PrintSettingList(v.session, QString());
         return lastBoxSince(v.dialogs, 0) == QLatin1String("(no box)")
                    ? QString()
                    : lastBoxSince(v.dialogs, 0);
     }},
};

const QByteArray kOld("the old file\r\n");

// What a target was before the save, to compare after it.
struct Snapshot {
    mode_t type = 0;
    QByteArray bytes;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    Snapshot s{mode_t(st.st_mode & S_IFMT), {}};
    if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))
        s.bytes = readBytes(path);
    return s;
}

// Writes beyond limit bytes fail (EFBIG) while it lives: a disk that fills at byte N, without
// root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit low{limit, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &low);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

// A real full file system: a 64 KiB tmpfs in a mount namespace of this process's own, filled
// to the last page. Needs root.
class FullTmpfs {
public:
    explicit FullTmpfs(const QString& dir) : dir_(QFile::encodeName(dir))
    {
        if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("kap-full", dir_.constData(), "tmpfs", 0, "size=64k") != 0)
            return;
        mounted_ = true;
    }
    ~FullTmpfs()
    {
        if (mounted_)
            ::umount2(dir_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    void fill() const
    {
        QFile f(QFile::decodeName(dir_) + QStringLiteral("/fill"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray page(4096, 'x');
        while (f.write(page) == page.size()) {
        }
    }

private:
    QByteArray dir_;
    bool mounted_ = false;
};

}  // namespace

TEST(SaveTargets, EveryWriterLeavesAForbiddenOrFullTargetAsItWas)
{
    QTemporaryDir dir;
    RawPty pty;
    ASSERT_TRUE(pty.ok());
    const bool root = ::geteuid() == 0;

    // A shared sticky folder, and in it a link to a victim file made by another user.
    const QString shared = dir.filePath(QStringLiteral("shared"));
    QDir().mkpath(shared);
    ::chmod(QFile::encodeName(shared).constData(), 01777);
    const QString victim = dir.filePath(QStringLiteral("victim"));
    writeBytes(victim, kOld);

    const QString tmpfsDir = dir.filePath(QStringLiteral("full"));
    QDir().mkpath(tmpfsDir);
    FullTmpfs full(tmpfsDir);

    struct Target {
        const char* name;
        bool available;
        std::function<QString(int)> make;  // the path for writer number i
        rlim_t sizeLimit;                  // 0: none
    };
    const Target targets[] = {
        {"a FIFO", true,
         [&](int i) {
             const QString p = dir.filePath(QStringLiteral("fifo%1").arg(i));
             ::mkfifo(QFile::encodeName(p).constData(), 0666);
             return p;
         },
         0},
        {"a device", true, [&](int) { return pty.path(); }, 0},
        {"a link planted in a shared folder", root,
         [&](int i) {
             const QString p = QDir(shared).filePath(QStringLiteral("link%1").arg(i));
             QFile::link(victim, p);
             ::lchown(QFile::encodeName(p).constData(), 65534, 65534);
             return p;
         },
         0},
        {"a read-only file", true,
         [&](int i) {
             const QString p = dir.filePath(QStringLiteral("readonly%1").arg(i));
             writeBytes(p, kOld);
             QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup);
             return p;
         },
         0},
        {"a disk that fails at byte 10", true,
         [&](int i) {
             const QString p = dir.filePath(QStringLiteral("limited%1").arg(i));
             writeBytes(p, kOld);
             return p;
         },
         10},
        {"a full file system", full.mounted(),
         [&](int i) {
             const QString p = QDir(tmpfsDir).filePath(QStringLiteral("old%1").arg(i));
             writeBytes(p, kOld);
             full.fill();
             return p;
         },
         0},
    };
    for (const Target& t : targets) {
        if (!t.available) {
            std::printf("  (skipped: %s needs root)\n", t.name);
            continue;
        }
        int i = 0;
        for (const Writer& w : kWriters) {
            SCOPED_TRACE(std::string(w.name) + " onto " + t.name);
            const QString path = t.make(i++);
            const Snapshot before = snapshot(path);
            const Snapshot victimBefore = snapshot(victim);
            QString failure;
            {
                std::unique_ptr<FileSizeLimit> limit;
                if (t.sizeLimit)
                    limit = std::make_unique<FileSizeLimit>(t.sizeLimit);
                failure = w.save(path);
            }
            EXPECT_FALSE(failure.isEmpty()) << "the save reported success";
            EXPECT_EQ(snapshot(path), before);
            EXPECT_EQ(snapshot(victim), victimBefore);
        }
    }
}

// A target that is fine is written, replacing the old bytes whole (the refusals above must
// not refuse everything).
TEST(SaveTargets, EveryWriterReplacesAnOrdinaryFile)
{
    QTemporaryDir dir;
    int i = 0;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const QString path = dir.filePath(QStringLiteral("file%1").arg(i++));
        writeBytes(path, kOld);
        EXPECT_EQ(w.save(path), QString());
        EXPECT_NE(readBytes(path), kOld);
        EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.tmp*")}).isEmpty());
    }
}

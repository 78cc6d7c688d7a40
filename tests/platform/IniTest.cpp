#include "platform/Ini.h"
#include "link/ProgramState.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace kap;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = QDir(dir.path()).filePath("TALOR.ini");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

}  // namespace

TEST(Ini, ReadsLikeThePrivateProfileCall)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[Other]\r\nCOM=7\r\n[data]\r\n  com = 3  \r\nLong="
                                            + QByteArray(300, 'x') + "\r\nZero=ab"
                                            + QByteArray(1, '\0') + "cd\r\n");
    EXPECT_EQ(ReadIniValue("COM", "Data", path), "3");  // case-insensitive, trimmed
    EXPECT_EQ(ReadIniValue("Long", "Data", path).size(), 254);
    EXPECT_EQ(ReadIniValue("Zero", "Data", path), "ab");
    EXPECT_EQ(ReadIniValue("Missing", "Data", path), "ERROR");
    EXPECT_EQ(ReadIniValue("COM", "Nowhere", path), "ERROR");
    EXPECT_EQ(ReadIniValue("COM", "Data", path + ".absent"), "ERROR");
}

TEST(Ini, WriteCreatesFileSectionAndKeyAndKeepsTheRest)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("TALOR.ini");
    ASSERT_TRUE(WriteIniValue("3", "COM", "Data", path));
    EXPECT_EQ(readFile(path), "[Data]\r\nCOM=3\r\n");

    writeFile(dir, "; notes\r\n[Other]\r\nx=1\r\n\r\n[DATA]\r\nBaud=9600\r\nCOM=5\r\n");
    ASSERT_TRUE(WriteIniValue("8", "com", "Data", path));
    EXPECT_EQ(readFile(path), "; notes\r\n[Other]\r\nx=1\r\n\r\n[DATA]\r\nBaud=9600\r\ncom=8\r\n");

    writeFile(dir, "[Data]\r\nBaud=9600\r\n\r\n[Other]\r\nx=1\r\n");
    ASSERT_TRUE(WriteIniValue("2", "COM", "Data", path));
    EXPECT_EQ(readFile(path), "[Data]\r\nBaud=9600\r\nCOM=2\r\n\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(ReadIniValue("COM", "Data", path), "2");
}

// A write that fails says so; a port number that cannot be stored also leaves a kap.ini
// warning naming the file.
TEST(Ini, AFailedWriteReportsFalse)
{
    EXPECT_FALSE(WriteIniValue("1", "COM", "Data", "/nonexistent-folder/TALOR.ini"));

    ProgramState state;
    state.programFolder = QStringLiteral("/nonexistent-kap-folder");
    state.userFolder = QStringLiteral("/dev/null/KAP");  // can never be made
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg && QLatin1String(context.category) == QLatin1String("kap.ini"))
                warnings << text;
        });
    EXPECT_FALSE(state.storePortNumber());
    qInstallMessageHandler(previous);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QLatin1String("/dev/null/KAP/TALOR.ini")))
        << warnings[0].toStdString();
}

TEST(Ini, PortNumberIsStoredFromThePortName)
{
    QTemporaryDir dir;
    ProgramState state;
    state.programFolder = dir.path();
    state.portName = "COM3";
    ASSERT_TRUE(state.storePortNumber());
    EXPECT_EQ(ReadIniValue("COM", "Data", state.iniPath()), "3");
}

// A program folder the user cannot write (an installed program): the port goes to the user's
// own TALOR.ini and is read back from there.
TEST(Ini, PortNumberGoesToTheUsersCopyWhenTheProgramFolderIsNotWritable)
{
    QTemporaryDir user;
    ProgramState state;
    state.programFolder = QStringLiteral("/nonexistent-kap-folder");
    state.userFolder = user.filePath(QStringLiteral("KAP"));
    state.portName = "COM3";
    ASSERT_TRUE(state.storePortNumber());
    EXPECT_EQ(state.iniPath(), user.filePath(QStringLiteral("KAP/TALOR.ini")));
    state.portName = "COM1";
    EXPECT_EQ(state.readPortName(), "COM3");
}

// A program folder of the system (/usr/bin) or of another user keeps no TALOR.ini of the
// user's, even for root who could write there; the user's own folder of the program keeps it.
TEST(Ini, AnInstalledProgramNeverWritesBesideItself)
{
    QTemporaryDir own, foreign, user;
    // As root, a folder handed to another user; as anyone else /tmp, writable by all.
    QString foreignFolder = QStringLiteral("/tmp");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(foreign.path()).constData(), 65534, 65534), 0);
        foreignFolder = foreign.path();
    }
    const struct {
        QString folder;
        bool beside;
    } cases[] = {{"/usr/bin", false}, {foreignFolder, false}, {own.path(), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        ProgramState state;
        state.programFolder = c.folder;
        state.userFolder = user.filePath(QStringLiteral("KAP"));
        const QString expected = c.beside ? QDir(c.folder).filePath(QStringLiteral("TALOR.ini"))
                                          : user.filePath(QStringLiteral("KAP/TALOR.ini"));
        EXPECT_EQ(state.writableIniPath(), expected);
        state.portName = "COM4";
        ASSERT_TRUE(state.storePortNumber());
        EXPECT_EQ(state.iniPath(), expected);
        EXPECT_EQ(state.readPortName(), "COM4");
        QFile::remove(expected);
    }
}

// A TALOR.ini beside the program that is there but is not read whole (a FIFO, one over the
// 1 MB cap, one without read permission) gives COM1 at once, says why, and is never
// rewritten: the port choice goes to the user's own copy.
TEST(Ini, ASettingsFileThatCannotBeReadIsNeitherReadNorRewritten)
{
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        const char* why;
    } cases[] = {
        {"a FIFO", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0666); },
         "is not a regular file"},
        {"over 1 MB",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("[Data]\r\nCOM=2\r\n");
             f.write(QByteArray(kMaxIniBytes, ';'));
         },
         "is too large"},
        {"unreadable",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("[Data]\r\nCOM=2\r\n[Other]\r\nKeep=1\r\n");
             f.close();
             QFile::setPermissions(p, QFile::WriteOwner);
         },
         "Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (::geteuid() == 0 && std::string(c.name) == "unreadable")
            continue;  // root reads it all the same
        QTemporaryDir program, user;
        const QString beside = program.filePath(QStringLiteral("TALOR.ini"));
        c.make(beside);
        struct stat before {};
        ::stat(QFile::encodeName(beside).constData(), &before);
        ProgramState state;
        state.programFolder = program.path();
        state.userFolder = user.filePath(QStringLiteral("KAP"));

        QElapsedTimer clock;
        clock.start();
        QString problem;
        EXPECT_EQ(state.readPortName(&problem), "COM1");
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_TRUE(problem.contains(QLatin1String(c.why))) << problem.toStdString();
        EXPECT_FALSE(WriteIniValue(QStringLiteral("3"), QStringLiteral("COM"),
                                   QStringLiteral("Data"), beside));
        state.portName = "COM3";
        ASSERT_TRUE(state.storePortNumber());
        struct stat after {};
        ::stat(QFile::encodeName(beside).constData(), &after);
        EXPECT_EQ(after.st_size, before.st_size);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_TRUE(QFile::exists(user.filePath(QStringLiteral("KAP/TALOR.ini"))));
    }
}

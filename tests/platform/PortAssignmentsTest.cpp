// Which device a port opens, and what a failed open tells the user.
#include "platform/PortAssignments.h"
#include "RawPty.h"
#include "SimLine.h"
#include "platform/QtSerialLine.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kap;

namespace {

const QString kDialout =
    ": permission denied. Add your user to the dialout group, then log in again.";

}  // namespace

TEST(OpenFailureReason, NamesTheDeviceAndWhatToDo)
{
    using E = QSerialPort::SerialPortError;
    const struct {
        int err;
        E error;
        QString reason;
    } cases[] = {
        {EACCES, E::PermissionError, kDialout},
        {EPERM, E::PermissionError, kDialout},
        {ENOENT, E::DeviceNotFoundError, ": no such device"},
        {0, E::DeviceNotFoundError, ": no such device"},
        {ENXIO, E::UnknownError, ": no such device"},
        {EIO, E::ResourceError, ": no such device"},
        {EBUSY, E::PermissionError, ": in use by another program"},
        // Refused by another program's lock file: no errno of the device's own.
        {0, E::PermissionError, ": in use by another program"},
        {EEXIST, E::PermissionError, ": in use by another program"},
        {ENOTTY, E::UnsupportedOperationError, ": not a serial port"},
        {EMFILE, E::ResourceError, ": too many open files"},
        {0, E::UnknownError, ": unknown error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(openFailureReason("/dev/ttyUSB0", c.error, c.err, "Unknown error").toStdString(),
                  ("/dev/ttyUSB0" + c.reason).toStdString())
            << "errno " << c.err << ", error " << int(c.error);
    }
}

TEST(PortDevice, EnvironmentBeforeAssignmentBeforeDefault)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("ports.ini");
    QSettings(file, QSettings::IniFormat).setValue("Ports/com5", "/dev/ttyUSB5");  // no port name
    const QString before = portAssignments().fileName();
    portAssignments().useFile(file);
    const struct {
        const char* env;
        const char* assigned;
        const char* path;
        DeviceOrigin origin;
    } cases[] = {
        {"/dev/pts/7", "/dev/ttyUSB0", "/dev/pts/7", DeviceOrigin::Environment},
        {"/dev/pts/7", "", "/dev/pts/7", DeviceOrigin::Environment},
        {nullptr, "/dev/ttyUSB0", "/dev/ttyUSB0", DeviceOrigin::Assigned},
        {nullptr, "", "/dev/ttyS2", DeviceOrigin::Default},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::unique_ptr<test::PortOverride> env;
        if (c.env)
            env = std::make_unique<test::PortOverride>(3, c.env);
        EXPECT_TRUE(portAssignments().assign(3, c.assigned));
        portAssignments().useFile(file);  // read back as the next run finds it
        const PortDevice device = portDeviceFor("COM3");
        EXPECT_EQ(device.path.toStdString(), c.path);
        EXPECT_EQ(device.origin, c.origin);
        EXPECT_EQ(devicePathFor("COM5").toStdString(), "/dev/ttyS4");
    }
    EXPECT_EQ(devicePathFor("COM9").toStdString(), "");

    // A file that cannot be written is reported; the assignment still holds for this run.
    portAssignments().useFile(file + "/below-a-file.ini");
    EXPECT_FALSE(portAssignments().assign(5, "/dev/ttyUSB5"));
    EXPECT_EQ(devicePathFor("COM5").toStdString(), "/dev/ttyUSB5");
    portAssignments().useFile(before);
}

namespace {

// Opens COM1 on device as the line does and returns errorString(); asNobody runs the open in a
// child process as user nobody, for root opens whatever the permissions say.
std::string openFailure(const QString& device, bool asNobody)
{
    test::PortOverride env(1, device);
    QtSerialLine line;
    if (!asNobody)
        return line.open("COM1") ? "opened" : line.errorString().toStdString();
    int fds[2];
    if (::pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        QByteArray text = "cannot become nobody";
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0)
            text = line.open("COM1") ? "opened" : line.errorString().toUtf8();
        (void)!::write(fds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        text.append(buf, size_t(n));
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    return text;
}

}  // namespace

TEST(OpenFailureReason, ComesFromARealOpen)
{
    test::RawPty pty;
    ASSERT_TRUE(pty.ok());
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(openFailure("/dev/kap-no-such-port", false), "/dev/kap-no-such-port: no such device");
    EXPECT_EQ(openFailure(plain.fileName(), false),
              (plain.fileName() + ": not a serial port").toStdString());
    {
        test::PortOverride env(2, pty.path());
        QtSerialLine holder;
        ASSERT_TRUE(holder.open("COM2"));
        EXPECT_EQ(openFailure(pty.path(), false),
                  (pty.path() + ": in use by another program").toStdString());
    }
    ASSERT_EQ(::chmod(pty.path().toLocal8Bit().constData(), 0), 0);
    EXPECT_EQ(openFailure(pty.path(), ::geteuid() == 0), (pty.path() + kDialout).toStdString());
}

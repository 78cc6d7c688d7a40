#include "link/ProgramState.h"

#include "platform/Ini.h"
#include "platform/PortName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace kap {

namespace {

const QString kIniName = QStringLiteral("TALOR.ini");

// An installed program's folder belongs to the system, not to the user who runs it: the
// settings go to the user's own configuration, for root too, so that removing the package
// leaves nothing behind and one user's choice is not every user's.
bool isSystemFolder(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    static const QStringList systemRoots = {"/usr",   "/bin", "/sbin", "/lib",
                                            "/lib64", "/opt", "/etc",  "/snap"};
    for (const QString& root : systemRoots) {
        if (path == root || path.startsWith(root + u'/'))
            return true;
    }
    return info.exists() && info.ownerId() != ::geteuid();
}

// The file beside the program when it can be written there, else the user's own copy: for
// reading, that copy once it exists (or when there is none beside the program either).
QString settingsFile(const ProgramState& m, bool forWriting)
{
    const QString folder = m.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                     : m.programFolder;
    const QString beside = QDir(folder).filePath(kIniName);
    const QFileInfo besideInfo(beside);
    // One that is there but cannot be read (a FIFO, too large) is not rewritten either: its
    // other sections would be lost.
    const bool besideWritable = !isSystemFolder(folder)
                                && (besideInfo.exists()
                                        ? besideInfo.isWritable() && IniProblem(beside).isEmpty()
                                        : QFileInfo(folder).isWritable());
    if (besideWritable)
        return beside;
    const QString userFolder = m.userFolder.isEmpty() ? QStandardPaths::writableLocation(
                                                            QStandardPaths::GenericConfigLocation)
                                                            + QStringLiteral("/KAP")
                                                      : m.userFolder;
    const QString own = QDir(userFolder).filePath(kIniName);
    if (forWriting) {
        QDir().mkpath(userFolder);
        return own;
    }
    return QFileInfo::exists(own) || !besideInfo.exists() ? own : beside;
}

}  // namespace

QString ProgramState::iniPath() const
{
    return settingsFile(*this, false);
}

QString ProgramState::writableIniPath() const
{
    return settingsFile(*this, true);
}

void ProgramState::reset()
{
    portName = QStringLiteral("COM1");
    replyTimeout.set(3000.0f);
    busy_ = false;
}

QString ProgramState::readPortName(QString* problem) const
{
    const QString file = iniPath();
    if (problem) {
        const QString why = IniProblem(file);
        *problem = why.isEmpty()
                       ? QString()
                       : QCoreApplication::translate("Settings", "%1 %2; not read, port COM1")
                             .arg(QDir::toNativeSeparators(file), why);
    }
    return ports::fromSettingsValue(
        ReadIniValue(QStringLiteral("COM"), QStringLiteral("Data"), file));
}

bool ProgramState::storePortNumber() const
{
    // A failed write leaves its kap.ini warning, naming the file.
    return WriteIniValue(ports::settingsValueOf(portName), QStringLiteral("COM"),
                         QStringLiteral("Data"), writableIniPath());
}

}  // namespace kap

// New File, Open, Save As, Exit, the question "Do you save data?" and the closing steps of a
// main window, run against FileHost so they work (and are tested) without a screen.
#pragma once

#include "ActuatorTypes.h"
#include "Dialogs.h"
#include "SettingFile.h"

#include <QString>

namespace kap {

class Grid;
class ParameterTable;

// What the file commands need of their main window.
class FileHost {
public:
    virtual ~FileHost() = default;

    virtual Family family() const = 0;
    // The point or zone grid; its tag holds the modified mark.
    virtual Grid& dataGrid() = 0;
    virtual ParameterTable& parameters() = 0;
    virtual Dialogs& dialogs() = 0;

    virtual void setTitle(const QString& title) = 0;
    // Copies the parameters mirrored on the operation panel into its fields.
    virtual void refreshQuickBoxes() = 0;
    virtual void stopIoMonitor() = 0;
    // A positioning run started by Start, and the Stop command that ends it.
    virtual bool positioningRunning() const = 0;
    virtual void runStop() = 0;
    // Writes the port number to the program's settings file.
    virtual void storePortNumber() = 0;
    // Tool bar and window enabled, progress dialog hidden.
    virtual void restoreIdle() = 0;
    virtual void closeWindow() = 0;
    // While suspended, writes into the grids run no change handling (putting grids back).
    virtual void suspendChangeHandling(bool on) = 0;
};

class SettingCommands {
public:
    explicit SettingCommands(FileHost& host) : host_(host) {}

    // True when the file was written.
    bool saveAs();
    void open();
    void newFile();
    void exit();
    // The closing steps; true when the window may close.
    bool closing();

    // "Do you save data?" while the data is marked modified; true when the command that
    // asked may go on (no mark, No, or Yes and a completed Save As).
    bool askToSave();

    // Raised when Save As did not complete (dialog cancelled, file not written).
    bool saveFailed() const { return saveFailed_; }

    // Save As dialog settings.
    static FileDialogOptions saveDialogOptions();
    static FileDialogOptions openDialogOptions();

private:
    // The whole file has been read and checked; false when applying it failed part-way.
    bool apply(const QList<QStringList>& rows);
    bool applyData(const QList<QStringList>& rows);
    bool applyParameters(const QList<QStringList>& rows);

    FileHost& host_;
    bool saveFailed_ = false;
};

}  // namespace kap

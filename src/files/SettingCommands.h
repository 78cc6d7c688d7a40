// New File, Open, Save As, Exit, the question "Do you save data?" and the closing steps of a
// main window, run on its session so they work (and are tested) without a screen.
#pragma once

#include "data/ActuatorTypes.h"
#include "files/SettingFile.h"
#include "platform/Dialogs.h"

#include <QList>
#include <QString>

#include <optional>

namespace kap {

class Session;

class SettingCommands {
public:
    // How Open ended.
    enum class OpenResult {
        Opened,
        NotAsked,     // the save question or the file dialog was cancelled
        Unreadable,   // "Cannot open file.": missing, too large, damaged or of the other family
        UnknownType,  // "Controller type is different."
    };

    // What Open did with the parameters of the file it loaded, by PRM number in order. Both
    // kinds took their initial values; the window's parameter table shows no other PRMs.
    struct OpenFindings {
        QList<int> missing;     // no value in the file: a short file or an empty field
        QList<int> outOfRange;  // a value the parameter table did not take ("**" included)
        bool isEmpty() const { return missing.isEmpty() && outOfRange.isEmpty(); }
    };

    explicit SettingCommands(Session& session) : session_(session) {}

    // True when the file was written.
    bool saveAs();
    // Writes the file last saved or opened without asking for a name; Save As when there is
    // none.
    bool save();
    OpenResult open();
    // Open without the file dialog: the file named at start, dropped or chosen from the
    // recent files. The save question comes first, as for Open.
    OpenResult openPath(const QString& path);
    // True when the data was renewed (not abandoned at the save question).
    bool newFile();
    void exit();
    // The closing steps; true when the window may close.
    bool closing();

    // "Do you save data?" while the data is marked modified; true when the command that
    // asked may go on (no mark, No, or Yes and a completed Save As).
    bool askToSave();

    // Raised when Save As did not complete (dialog cancelled, file not written).
    bool saveFailed() const { return saveFailed_; }

    // What the last Open found; empty unless it ended Opened.
    const OpenFindings& findings() const { return findings_; }
    // The status-bar text Open shows for its findings; empty when there is nothing to tell.
    static QString findingsText(const OpenFindings& findings);

    // The window's title while it shows the file at path: "KAP Support-Software - line3.csv".
    static QString fileTitle(const QString& path);

    // Save As dialog settings.
    static FileDialogOptions saveDialogOptions();
    static FileDialogOptions openDialogOptions();

private:
    // Save As once a path is known; complete: the box "    Complete." closes it.
    bool write(const QString& path, bool complete);
    OpenResult load(const QString& path);
    // The code page to save rows in: the session's, or, when a note holds a character it
    // cannot hold, what the user answers; nothing when the user cancelled.
    std::optional<codepage::Encoding> chooseEncoding(const QList<QStringList>& rows);
    // The whole file has been read and checked; false when applying it failed part-way.
    bool apply(const QList<QStringList>& rows);
    bool applyData(const QList<QStringList>& rows);
    bool applyParameters(const QList<QStringList>& rows);

    Session& session_;
    bool saveFailed_ = false;
    OpenFindings findings_;
};

}  // namespace kap

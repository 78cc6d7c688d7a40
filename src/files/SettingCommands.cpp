#include "files/SettingCommands.h"

#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "data/TableHost.h"
#include "files/FileAcceptance.h"
#include "link/ProgramState.h"
#include "platform/SafeFile.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace kap {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(SettingCommands)
};

// Every cell and the tag of a grid, to put the grid back after a failed Open.
struct GridSnapshot {
    explicit GridSnapshot(const Grid& g) : tag(g.tag()), cells(g.cells()) {}
    void restore(Grid& g) const
    {
        g.setCells(cells);
        g.setTag(tag);
    }
    QString tag;
    QList<QStringList> cells;
};

// Compares what the parameter table holds, once the whole file is in, with what the file
// gave: a value the table did not keep was replaced by its initial value.
SettingCommands::OpenFindings findingsOf(const QList<QStringList>& rows,
                                         const ParameterTable& parameters)
{
    SettingCommands::OpenFindings found;
    const int first = settingfile::firstPrmRow(parameters.family());
    for (int prm = 1; prm < 64; ++prm) {
        const std::optional<int> gridRow = parameters.rowOfPrm(prm);
        if (!gridRow)
            continue;
        const int r = first + prm;
        const QString given = r < rows.size() ? rows.at(r).at(1) : QString();
        if (given.isEmpty()) {
            found.missing << prm;
            continue;
        }
        // "**" is kept only where the value does not apply (PRM 6 of current controllers);
        // backups of older controllers carry it where the window now shows a value.
        const QString kept = given == settingfile::kNoValue ? given : numbers::plainNumber(given);
        if (parameters.value(*gridRow) != kept)
            found.outOfRange << prm;
    }
    return found;
}

QString prmList(const QList<int>& prms)
{
    QStringList numbers;
    for (const int prm : prms)
        numbers << QString::number(prm);
    return numbers.join(QStringLiteral(", "));
}

}  // namespace

QString SettingCommands::findingsText(const OpenFindings& findings)
{
    const qsizetype missing = findings.missing.size();
    const qsizetype outOfRange = findings.outOfRange.size();
    QStringList parts;
    if (missing > 0) {
        parts << (missing == 1 ? Text::tr("PRM %1 was not in the file")
                               : Text::tr("PRM %1 were not in the file"))
                     .arg(prmList(findings.missing));
    }
    if (outOfRange > 0) {
        parts << (outOfRange == 1 ? Text::tr("PRM %1 was out of range")
                                  : Text::tr("PRM %1 were out of range"))
                     .arg(prmList(findings.outOfRange));
    }
    if (parts.size() == 2)
        return Text::tr("%1 and %2; set to their initial values").arg(parts[0], parts[1]);
    if (parts.isEmpty())
        return {};
    return (missing + outOfRange == 1 ? Text::tr("%1; set to its initial value")
                                      : Text::tr("%1; set to their initial values"))
        .arg(parts[0]);
}

FileDialogOptions SettingCommands::saveDialogOptions()
{
    return {Text::tr("SaveAs"), Text::tr("Setting file(*.csv)|*.csv|"), QString(), true,
            QStringLiteral("csv")};
}

FileDialogOptions SettingCommands::openDialogOptions()
{
    // Setting files come from other machines too, not always named ".csv".
    return {Text::tr("Open"),
            Text::tr("Setting file(*.csv)|*.csv") + u'|' + Text::tr("All files(*)|*"), QString(),
            false, QString()};
}

std::optional<codepage::Encoding> SettingCommands::chooseEncoding(const QList<QStringList>& rows)
{
    const codepage::Encoding chosen = session_.fileEncoding();
    const std::optional<settingfile::Unheld> unheld = settingfile::firstUnheld(rows, chosen);
    if (!unheld)
        return chosen;
    // Never replaced without a word: the user picks the other code page, the "?", or neither.
    const codepage::Encoding other = codepage::other(chosen);
    const bool otherHolds = !settingfile::firstUnheld(rows, other);
    const Family family = session_.family();
    const int n = unheld->row - settingfile::kFirstDataRow;
    QString where;
    if (n >= 0 && n < settingfile::dataRows(family)) {
        where = family == Family::PointInput ? Text::tr("The note of point %1").arg(n)
                                             : Text::tr("The note of zone %1").arg(n);
    } else {
        where = Text::tr("Line %1 of the file").arg(unheld->row + 1);
    }
    QStringList buttons;
    if (otherHolds)
        buttons << Text::tr("Save as %1").arg(codepage::name(other));
    buttons << Text::tr("Save as %1 (replace with ?)").arg(codepage::name(chosen))
            << Text::tr("Cancel");
    const int answer =
        session_.dialogs().choose(Text::tr("%1 holds \"%2\", which %3 cannot hold.")
                                      .arg(where, unheld->character, codepage::name(chosen)),
                                  Text::tr("Save As"), MsgIcon::Question, buttons);
    if (answer == buttons.size() - 1 || answer < 0)
        return std::nullopt;
    return otherHolds && answer == 0 ? other : chosen;
}

QString SettingCommands::fileTitle(const QString& path)
{
    return Text::tr("KAP Support-Software - %1").arg(QFileInfo(path).fileName());
}

bool SettingCommands::askToSave()
{
    if (!isModified(session_.tableGrid()))
        return true;
    switch (session_.dialogs().message(Text::tr("Do you save data?"), QString(), MsgIcon::Question,
                                       MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        saveAs();
        return !saveFailed_;
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool SettingCommands::saveAs()
{
    saveFailed_ = false;
    const QString path = session_.dialogs().saveFileName(saveDialogOptions());
    if (path.isEmpty()) {
        saveFailed_ = true;
        return false;
    }
    return write(path, true);
}

bool SettingCommands::save()
{
    saveFailed_ = false;
    if (session_.currentFile().isEmpty())
        return saveAs();
    return write(session_.currentFile(), false);
}

bool SettingCommands::write(const QString& path, bool complete)
{
    Dialogs& dialogs = session_.dialogs();
    const QList<QStringList> rows = settingfile::buildRows(
        session_.family(), session_.tableGrid(), session_.parameters(), settingfile::Labels::File);
    const std::optional<codepage::Encoding> encoding = chooseEncoding(rows);
    if (!encoding) {
        saveFailed_ = true;
        return false;
    }
    session_.view().showTitle(fileTitle(path));

    const QByteArray bytes = settingfile::encode(rows, *encoding);
    // The old file is replaced only once the new one is complete; a file marked read-only, a
    // device or a FIFO is not written at all.
    if (const safefile::SaveResult saved = safefile::save(path, bytes); !saved.ok) {
        qCInfo(lcFiles) << "cannot save" << path << "-" << saved.error;
        saveFailed_ = true;
        dialogs.ok(Text::tr("%1 cannot be saved because it is read only or it is opened.").arg(path)
                       + safefile::detail(path, saved),
                   QString());
        return false;
    }
    clearModifiedMark(session_.tableGrid());
    session_.setCurrentFile(path);
    if (complete)
        dialogs.ok(Text::tr("    Complete."), Text::tr("Save As"));
    else
        session_.view().showPassingMessage(Text::tr("Saved to %1").arg(path));
    return true;
}

SettingCommands::OpenResult SettingCommands::open()
{
    findings_ = {};
    if (!askToSave())
        return OpenResult::NotAsked;
    const QString path = session_.dialogs().openFileName(openDialogOptions());
    if (path.isEmpty())
        return OpenResult::NotAsked;
    return load(path);
}

SettingCommands::OpenResult SettingCommands::openPath(const QString& path)
{
    findings_ = {};
    if (!askToSave())
        return OpenResult::NotAsked;
    return load(path);
}

SettingCommands::OpenResult SettingCommands::load(const QString& path)
{
    Dialogs& dialogs = session_.dialogs();
    const Family family = session_.family();
    const auto cannotOpen = [&dialogs] { dialogs.ok(Text::tr("Cannot open file."), QString()); };

    // The whole file is read and checked before the grids are touched.
    const settingfile::Checked checked = settingfile::checkFile(path, family,
                                                                session_.fileEncoding());
    switch (checked.acceptance) {
    case settingfile::Acceptance::Accepted:
        break;
    case settingfile::Acceptance::UnknownType:
        // Unlike a controller of unknown type, a file of one is no reason to end the program.
        dialogs.ok(Text::tr("Controller type is different."), Text::tr("Controller type"),
                   MsgIcon::Exclamation);
        return OpenResult::UnknownType;
    case settingfile::Acceptance::Unreadable:
    case settingfile::Acceptance::NotTagged:
    case settingfile::Acceptance::TooFewRows:
    case settingfile::Acceptance::CutShort:
    case settingfile::Acceptance::Damaged:
        qCInfo(lcFiles) << "cannot open" << path << "- refused as" << int(checked.acceptance);
        cannotOpen();
        return OpenResult::Unreadable;
    }
    const settingfile::ReadResult& read = checked.read;

    ParameterTable& parameters = session_.parameters();
    const GridSnapshot dataBefore(session_.tableGrid());
    const GridSnapshot parametersBefore(parameters.grid());
    const QString typeBefore = parameters.currentType();
    if (!apply(read.rows)) {
        // Putting the grids back runs no change handling.
        const bool settingUpBefore = session_.guards().settingUp;
        session_.guards().settingUp = true;
        parameters.setCurrentType(typeBefore);
        if (!settingfile::knownDefaultRow(family, typeBefore).isNull())
            parameters.SelectDefaultRow();
        parameters.ApplyTypeRanges(typeBefore);
        dataBefore.restore(session_.tableGrid());
        parametersBefore.restore(parameters.grid());
        session_.guards().settingUp = settingUpBefore;
        cannotOpen();
        return OpenResult::Unreadable;
    }
    session_.refreshQuickBoxes();
    // Older versions wrote shorter files, so a file without the last parameters still opens;
    // the user learns which values did not come from it.
    findings_ = findingsOf(read.rows, parameters);
    QStringList notes;
    if (read.encodingNote == settingfile::ReadResult::OtherEncoding) {
        notes << Text::tr("Read as %1: the file is not %2 text")
                     .arg(codepage::name(read.encoding),
                          codepage::name(codepage::other(read.encoding)));
    } else if (read.encodingNote == settingfile::ReadResult::NeitherEncoding) {
        notes << Text::tr("The file is neither %1 nor %2 text; some notes may read wrong")
                     .arg(codepage::name(read.encoding),
                          codepage::name(codepage::other(read.encoding)));
    }
    if (!findings_.isEmpty())
        notes << findingsText(findings_);
    if (!notes.isEmpty())
        session_.view().showStatusMessage(notes.join(QStringLiteral("; ")));
    session_.view().showTitle(fileTitle(path));
    session_.setCurrentFile(path);
    dialogs.ok(Text::tr("    Complete."), Text::tr("Open"));
    return OpenResult::Opened;
}

bool SettingCommands::apply(const QList<QStringList>& rows)
{
    return applyData(rows) && applyParameters(rows);
}

bool SettingCommands::applyData(const QList<QStringList>& rows)
{
    // Every write passes the grid's change handling, exactly as if typed.
    Grid& grid = session_.tableGrid();
    const Family family = session_.family();
    const int decimalsColumn = 2;  // Position, or angle B
    for (int n = 0; n < settingfile::dataRows(family); ++n) {
        const QStringList& row = rows.at(settingfile::kFirstDataRow + n);
        for (int c = 1; c <= settingfile::dataColumns(family); ++c) {
            QString value = row.at(c);
            if (c == decimalsColumn && !value.isEmpty())
                value = numbers::format2(value);
            grid.setText(n, c, value);
        }
    }
    return true;
}

bool SettingCommands::applyParameters(const QList<QStringList>& rows)
{
    ParameterTable& parameters = session_.parameters();
    Grid& grid = parameters.grid();
    const int first = settingfile::firstPrmRow(session_.family());
    for (int prm = 0; prm < 64; ++prm) {
        const std::optional<int> gridRow = parameters.rowOfPrm(prm);
        if (!gridRow)
            continue;
        // Lines missing at the end of a short file count as empty texts.
        const int r = first + prm;
        const QString value = r < rows.size() ? rows.at(r).at(1) : QString();
        grid.setText(*gridRow, kValueColumn, value);
        if (prm != 0)
            continue;
        // The new type's factory values and ranges come in now, so every value after it is
        // checked against the ranges of the file's type rather than the window's old one.
        parameters.setCurrentType(value);
        if (parameters.SelectDefaultRow() != ParameterTable::TypeCheck::Ok)
            return false;
        const QStringList fields = defaultRowFields(parameters.defaultRow(),
                                                    int(parameters.layout().rows.size()));
        for (int k = 0; k < fields.size(); ++k)
            grid.setText(k - 1, kInitialColumn, fields.at(k));
        parameters.ApplyTypeRanges(value);
    }
    return true;
}

bool SettingCommands::newFile()
{
    if (!askToSave())
        return false;
    // The type row takes 50 to 66, of which only 50 and 60 to 66 are types. Like a file of
    // an unknown type, that is no reason to end the program or to lose the data.
    const QString type = session_.parameters().value(-1);
    if (numbers::readNumber(type)
        && settingfile::knownDefaultRow(session_.family(), type).isNull()) {
        session_.dialogs().ok(Text::tr("Controller type is different."),
                              Text::tr("Controller type"), MsgIcon::Exclamation);
        return false;
    }
    Grid& grid = session_.tableGrid();
    for (int n = 0; n < settingfile::dataRows(session_.family()); ++n) {
        for (int c = 1; c <= settingfile::dataColumns(session_.family()); ++c)
            grid.setText(n, c, QString());
    }
    if (session_.parameters().ResetParametersToDefaults() != ParameterTable::TypeCheck::Ok) {
        session_.restoreIdle();
        return false;
    }
    session_.refreshQuickBoxes();
    clearModifiedMark(grid);
    session_.setCurrentFile(QString());
    return true;
}

void SettingCommands::exit()
{
    saveFailed_ = false;
    if (!askToSave())
        return;
    clearModifiedMark(session_.tableGrid());
    session_.prepareToClose();
    session_.view().closeWindow();
}

bool SettingCommands::closing()
{
    saveFailed_ = false;
    if (!isModified(session_.tableGrid())) {
        clearModifiedMark(session_.tableGrid());
        session_.prepareToClose();
        session_.programState().storePortNumber();
        session_.restoreIdle();
        return true;
    }
    if (!askToSave())
        return false;
    session_.prepareToClose();
    session_.programState().storePortNumber();
    return true;
}

}  // namespace kap

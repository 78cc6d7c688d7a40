#include "SettingCommands.h"

#include "Grid.h"
#include "Numbers.h"
#include "ParameterTable.h"
#include "Module1.h"
#include "SafeFile.h"
#include "Session.h"
#include "TableHost.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace kap {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(SettingCommands)
};

// A full setting file is about 3 KB, notes of 1,000 characters included still well under
// this; a bigger file is not one of ours.
constexpr qint64 kMaxFileBytes = qint64(1024) * 1024;

// What the file writes for a parameter that has no value (one the window does not show, or
// one that does not apply to the actuator type).
const QString& noValue()
{
    static const QString text = QStringLiteral("**");
    return text;
}

// Every cell and the tag of a grid, to put the grid back after a failed Open.
struct GridSnapshot {
    explicit GridSnapshot(const Grid& g) : tag(g.tag())
    {
        for (int r = -g.fixedRows(); r < g.rows(); ++r) {
            QStringList row;
            for (int c = 0; c < g.columns(); ++c)
                row << g.text(r, c);
            cells << row;
        }
    }
    void restore(Grid& g) const
    {
        int r = -g.fixedRows();
        for (const QStringList& row : cells) {
            for (int c = 0; c < row.size(); ++c)
                g.setText(r, c, row.at(c));
            ++r;
        }
        g.setTag(tag);
    }
    QString tag;
    QList<QStringList> cells;
};

// The default row of a type text, or a null text when the type is not one of the table's.
QString knownDefaultRow(Family family, const QString& type)
{
    const std::optional<double> v = numbers::readNumber(type);
    if (!v || *v != std::floor(*v) || std::fabs(*v) >= 1e6)
        return {};
    return defaultRow(family, int(*v));
}

// The point or zone fields that hold numbers: Position and Speed, or angles A and B.
QList<int> numberColumns(Family family)
{
    return family == Family::PointInput ? QList<int>{2, 3} : QList<int>{1, 2};
}

// A number field that is not a number means the file is damaged: taking "12abc" as 12 would
// load a value nobody wrote. Empty fields are empty cells.
bool numberFieldsReadable(const QList<QStringList>& rows, Family family)
{
    for (int n = 0; n < settingfile::dataRows(family); ++n) {
        const QStringList& row = rows.at(settingfile::kFirstDataRow + n);
        for (const int c : numberColumns(family)) {
            if (!row.at(c).isEmpty() && !numbers::isNumber(row.at(c)))
                return false;
        }
    }
    return true;
}

// The grids take no longer note, so a longer one is no note the tool wrote.
bool notesFit(const QList<QStringList>& rows, Family family)
{
    const int noteColumn = settingfile::dataColumns(family);
    for (int n = 0; n < settingfile::dataRows(family); ++n) {
        if (rows.at(settingfile::kFirstDataRow + n).at(noteColumn).size() > kMaxNoteLength)
            return false;
    }
    return true;
}

// A parameter's value is a number, or empty or "**" for none. Anything else means the file is
// damaged, as for a point's number fields: the parameter table would silently put the initial
// value in its place. PRM 0 is the type, checked on its own; PRMs the window does not show
// are not read.
bool parameterFieldsReadable(const QList<QStringList>& rows, const ParameterTable& parameters)
{
    const int first = settingfile::firstPrmRow(parameters.family());
    for (int prm = 1; prm < 64 && first + prm < rows.size(); ++prm) {
        if (parameters.rowOfPrm(prm) == -100)
            continue;
        const QString& value = rows.at(first + prm).at(1);
        if (!value.isEmpty() && value != noValue() && !numbers::isNumber(value))
            return false;
    }
    return true;
}

// Compares what the parameter table holds, once the whole file is in, with what the file
// gave: a value the table did not keep was replaced by its initial value.
SettingCommands::OpenFindings findingsOf(const QList<QStringList>& rows,
                                         const ParameterTable& parameters)
{
    SettingCommands::OpenFindings found;
    const int first = settingfile::firstPrmRow(parameters.family());
    for (int prm = 1; prm < 64; ++prm) {
        const int gridRow = parameters.rowOfPrm(prm);
        if (gridRow == -100)
            continue;
        const int r = first + prm;
        const QString given = r < rows.size() ? rows.at(r).at(1) : QString();
        if (given.isEmpty()) {
            found.missing << prm;
            continue;
        }
        // "**" is kept only where the value does not apply (PRM 6 of current controllers);
        // backups of older controllers carry it where the window now shows a value.
        const QString kept = given == noValue() ? given : numbers::plainNumber(given);
        if (parameters.value(gridRow) != kept)
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
    return {Text::tr("SaveAs"), Text::tr("Setting file(*.csv)|*.csv|"), QString(), true};
}

FileDialogOptions SettingCommands::openDialogOptions()
{
    return {Text::tr("Open"), Text::tr("Setting file(*.csv)|*.csv"), QString(), false};
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
    Dialogs& dialogs = session_.dialogs();
    const QString path = dialogs.saveFileName(saveDialogOptions());
    if (path.isEmpty()) {
        saveFailed_ = true;
        return false;
    }
    session_.view().showTitle(Text::tr("KAP Support-Software%1").arg(path));

    const QByteArray bytes = settingfile::encode(settingfile::buildRows(
        session_.family(), session_.tableGrid(), session_.parameters(), settingfile::Labels::File));
    // The old file is replaced only once the new one is complete; a file marked read-only, a
    // device or a FIFO is not written at all.
    if (const safefile::SaveResult saved = safefile::save(path, bytes); !saved.ok) {
        saveFailed_ = true;
        dialogs.ok(
            Text::tr("%1 cannot be saved because it is read only or it is opened.").arg(path)
                + safefile::detail(path, saved),
            QString());
        return false;
    }
    clearModifiedMark(session_.tableGrid());
    dialogs.ok(Text::tr("    Complete."), Text::tr("Save As"));
    return true;
}

SettingCommands::OpenResult SettingCommands::open()
{
    findings_ = {};
    if (!askToSave())
        return OpenResult::NotAsked;
    Dialogs& dialogs = session_.dialogs();
    const QString path = dialogs.openFileName(openDialogOptions());
    if (path.isEmpty())
        return OpenResult::NotAsked;
    const Family family = session_.family();
    const auto cannotOpen = [&dialogs] { dialogs.ok(Text::tr("Cannot open file."), QString()); };

    // The whole file is read and checked before the grids are touched. Only a regular file
    // is opened: a FIFO would wait for a writer for ever.
    const safefile::ReadResult file = safefile::read(path, kMaxFileBytes);
    if (file.status != safefile::ReadResult::Ok) {
        cannotOpen();
        return OpenResult::Unreadable;
    }
    const settingfile::ReadResult read = settingfile::decode(file.bytes, family);
    if (read.status != settingfile::ReadResult::Ok) {
        cannotOpen();
        return OpenResult::Unreadable;
    }
    const QString type = read.rows.at(settingfile::firstPrmRow(family)).at(1);
    if (!numbers::readNumber(type) || !numberFieldsReadable(read.rows, family)
        || !notesFit(read.rows, family)
        || !parameterFieldsReadable(read.rows, session_.parameters())) {
        cannotOpen();
        return OpenResult::Unreadable;
    }
    if (knownDefaultRow(family, type).isNull()) {
        // Unlike a controller of unknown type, a file of one is no reason to end the program.
        dialogs.ok(Text::tr("Controller type is different."), Text::tr("Controller type"),
                   MsgIcon::Exclamation);
        return OpenResult::UnknownType;
    }

    ParameterTable& parameters = session_.parameters();
    const GridSnapshot dataBefore(session_.tableGrid());
    const GridSnapshot parametersBefore(parameters.grid());
    const QString typeBefore = parameters.currentType();
    if (!apply(read.rows)) {
        // Putting the grids back runs no change handling.
        const bool settingUpBefore = session_.guards().settingUp;
        session_.guards().settingUp = true;
        parameters.setCurrentType(typeBefore);
        if (!knownDefaultRow(family, typeBefore).isNull())
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
    if (!findings_.isEmpty())
        session_.view().showStatusMessage(findingsText(findings_));
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
        const int gridRow = parameters.rowOfPrm(prm);
        if (gridRow == -100)
            continue;
        // Lines missing at the end of a short file count as empty texts.
        const int r = first + prm;
        const QString value = r < rows.size() ? rows.at(r).at(1) : QString();
        grid.setText(gridRow, kValueColumn, value);
        if (prm != 0)
            continue;
        // The new type's factory values and ranges come in now, so every value after it is
        // checked against the ranges of the file's type rather than the window's old one.
        parameters.setCurrentType(value);
        if (parameters.SelectDefaultRow() != ParameterTable::TypeCheck::Ok)
            return false;
        const QStringList fields =
            defaultRowFields(parameters.defaultRow(), int(parameters.layout().rows.size()));
        for (int k = 0; k < fields.size(); ++k)
            grid.setText(k - 1, kInitialColumn, fields.at(k));
        parameters.ApplyTypeRanges(value);
    }
    return true;
}

void SettingCommands::newFile()
{
    if (!askToSave())
        return;
    // The type row takes 50 to 66, of which only 50 and 60 to 66 are types. Like a file of
    // an unknown type, that is no reason to end the program or to lose the data.
    const QString type = session_.parameters().value(-1);
    if (numbers::readNumber(type) && knownDefaultRow(session_.family(), type).isNull()) {
        session_.dialogs().ok(Text::tr("Controller type is different."),
                              Text::tr("Controller type"), MsgIcon::Exclamation);
        return;
    }
    Grid& grid = session_.tableGrid();
    for (int n = 0; n < settingfile::dataRows(session_.family()); ++n) {
        for (int c = 1; c <= settingfile::dataColumns(session_.family()); ++c)
            grid.setText(n, c, QString());
    }
    if (session_.parameters().ResetParametersToDefaults() != ParameterTable::TypeCheck::Ok) {
        session_.restoreIdle();
        return;
    }
    session_.refreshQuickBoxes();
    clearModifiedMark(grid);
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
        StorePortNumber();
        session_.restoreIdle();
        return true;
    }
    if (!askToSave())
        return false;
    session_.prepareToClose();
    StorePortNumber();
    return true;
}

}  // namespace kap

#include "exchange/Initialise.h"

#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "exchange/Records.h"
#include "session/Reactions.h"

#include <QList>

namespace kap::exchange {
namespace {

bool isPoints(const Session& session)
{
    return session.family() == Family::PointInput;
}

// Turns the setting-mode silence off, stores the title and asks the confirmation; No enables the
// tool bar. Then the save question while the data is marked modified: Cancel, or a save that did
// not complete, ends the command before anything is sent.
bool confirmed(Session& session, const QString& title, const QString& question,
               const SaveQuestion& askToSave)
{
    session.silence().settingMode = false;
    session.operations().title = title;
    if (!session.dialogs().yes(question, title)) {
        session.setToolbarEnabled(true);
        return false;
    }
    if (!askToSave()) {
        restore(session);
        return false;
    }
    return true;
}

// The progress dialog of an initialisation: shown with its Cancel button disabled.
void showInitProgress(Session& session, int maximum)
{
    showProgress(session, 0, maximum, 0);
    session.progress().setCancelEnabled(false);
}

// The window usable again, the dialog hidden with its Cancel button enabled.
void endInit(Session& session)
{
    session.progress().setCancelEnabled(true);
    restore(session);
}

// The table initialisation's emptying: every data cell of every row emptied, once per row
// letting events run and looking at Cancel (disabled throughout, so it never stops it).
// The cells go through the grid's change handling like any other write, Speed before Mode so
// that no row is ever checked half-emptied.
bool emptyTable(Session& session, const QString& title)
{
    const bool points = isPoints(session);
    const int count = points ? PointTable::kPoints : ZoneTable::kZones;
    const QList<int> columns = points
                                   ? QList<int>{PointTable::SpeedColumn, PointTable::PositionColumn,
                                                PointTable::ModeColumn, PointTable::NoteColumn}
                                   : QList<int>{ZoneTable::AngleBColumn, ZoneTable::AngleAColumn,
                                                ZoneTable::NoteColumn};
    Grid& grid = session.tableGrid();
    for (int k = 0; k < count; ++k) {
        letEventsRun();
        session.progress().setValue(k);
        if (takeCancel(session)) {
            session.setMainWindowEnabled(true);
            session.hideProgress();
            session.dialogs().message(ExchangeText::tr("Stop"), title, MsgIcon::Exclamation,
                                      MsgButtons::Ok);
            return false;
        }
        for (const int column : columns)
            grid.setText(k, column, QString());
    }
    return true;
}

// The end of the parameter initialisation, whatever came before it once the type dialog was
// reached: quick boxes refreshed, window restored, the grid's change handling on again.
void endParameterInit(Session& session)
{
    session.refreshQuickBoxes();
    endInit(session);
    lowerFillFlags(session);
}

// The chosen type's factory values into the grid. False when the type has no default
// row (its box has been shown and the program is ending).
bool fillTypeDefaults(Session& session, const QString& type)
{
    const bool points = isPoints(session);
    session.guards().bulkFill = true;
    session.guards().angleCheckHold = true;
    ParameterTable& table = session.parameters();
    Grid& grid = table.grid();
    table.setCurrentType(type);
    if (table.SelectDefaultRow() != ParameterTable::TypeCheck::Ok)
        return false;
    // The fields of the rows whose values depend on the type (load inertia and the speeds)
    // come from the type's ranges and settings instead.
    const QList<int> typeDependent = points ? QList<int>{3, 7, 10, 16} : QList<int>{3, 6};
    const QStringList fields = defaultRowFields(table.defaultRow(),
                                                int(table.layout().rows.size()));
    for (int position = 0; position < fields.size(); ++position) {
        session.progress().setValue(position);
        if (typeDependent.contains(position))
            continue;
        grid.setText(position - 1, kInitialColumn, fields.at(position));
        grid.setText(position - 1, kValueColumn, fields.at(position));
    }
    table.ApplyTypeRanges(type);
    table.ApplyTypeSettings(type);
    if (points) {
        showPrm6(session, QStringLiteral("1"), ExchangeText::tr("0: Invalid 1: Valid"));
        showPrm28(session, QStringLiteral("0"), ExchangeText::tr("0: ON  1: OFF"));
    }
    return true;
}

// The closing question "Do you change to English?"; Yes writes parameter 22 = 0 in a write
// block of its own. Done after No or a completed write.
Result offerEnglish(Session& session)
{
    const bool points = isPoints(session);
    session.refreshQuickBoxes();
    session.setMainWindowEnabled(true);
    session.hideProgress();
    const QString title = ExchangeText::tr("Parameter");
    if (session.dialogs().message(ExchangeText::tr("Do you change to English?"), title,
                                  MsgIcon::None, MsgButtons::YesNo)
        != MsgAnswer::Yes)
        return Result::Done;
    session.showError(QString());
    session.setMainWindowEnabled(false);
    // The pulse-train window writes the record with a blank on each side of the "=".
    const QString record = points ? QStringLiteral("PRM22=0") : QStringLiteral("PRM22 = 0");
    const Result written = writeBlock(session, cmd::WRITE_PRM, cmd::RecordPRM, {Turn{record}});
    if (written != Result::Done)
        return written;
    ParameterTable& table = session.parameters();
    if (const std::optional<int> row = table.rowOfPrm(22))
        table.grid().setText(*row, kValueColumn, QStringLiteral("0"));
    session.dialogs().ok(ExchangeText::tr("    Complete."), title);
    return Result::Done;
}

// The origin commands: "@INIT ORG " and "@ORGC ".
struct OriginTexts {
    QString title;
    QString question;
    QString done;
};

Result originCommand(Session& session, qint16 code, const OriginTexts& texts)
{
    if (session.drive().motionInProgress)
        return Result::Declined;
    session.silence().settingMode = false;
    session.operations().title = texts.title;
    Result result = Result::Declined;
    if (session.dialogs().yes(texts.question, texts.title)) {
        // The window stays enabled; only the data commands wait for the answer.
        LockCommands(session);
        showProgress(session, 0, 1, 0);
        session.showError(QString());
        const Outcome out = exchangeLine(session, code, 3000.0f);
        switch (out.verdict()) {
        case Verdict::NoAnswer:
            reportNoAnswer(session);
            result = Result::LinkError;
            break;
        case Verdict::Refused:
            reportRefusal(session, out);
            result = Result::Refused;
            break;
        case Verdict::Usable:
            if (!out.has("OK")) {
                reportNoAnswer(session);
                result = Result::LinkError;
                break;
            }
            session.progress().setValue(1);
            session.hideProgress();
            session.dialogs().ok(texts.done, texts.title);
            result = Result::Done;
            break;
        }
    }
    session.hideProgress();
    session.silence().settingMode = true;
    session.panel().setEnabled(Command::SettingMode, true);
    UnlockCommands(session);
    return result;
}

}  // namespace

Result InitTable(Session& session, const SaveQuestion& askToSave)
{
    const bool points = isPoints(session);
    const QString title = points ? ExchangeText::tr("Point initialization")
                                 : ExchangeText::tr("Zone initialization");
    if (!confirmed(session, title,
                   points ? ExchangeText::tr("Do you initialize point data?")
                          : ExchangeText::tr("Do you initialize zone data?"),
                   askToSave))
        return Result::Declined;

    lockWindow(session);
    showInitProgress(session, points ? PointTable::kPoints - 1 : ZoneTable::kZones - 1);
    const Outcome out = exchangeLine(session, points ? cmd::INIT_PNT : cmd::INIT_ZON, 10000.0f);
    if (out.verdict() == Verdict::NoAnswer) {
        session.progress().setCancelEnabled(true);
        reportNoAnswer(session);
        return Result::LinkError;
    }
    Result result = Result::Done;
    if (out.has("OK")) {
        // Only now that the controller has erased its table.
        if (emptyTable(session, title))
            session.dialogs().ok(ExchangeText::tr("Initializing has completed."), title);
        else
            result = Result::Cancelled;
    } else if (out.has("NG")) {
        ReportRefusalWithReply(session, out);
        result = Result::Refused;
    } else {
        session.progress().setCancelEnabled(true);
        reportNoAnswer(session);
        return Result::LinkError;
    }
    endInit(session);
    return result;
}

Result InitParameters(Session& session, TypeChooser& chooser, const SaveQuestion& askToSave)
{
    const bool points = isPoints(session);
    const QString title = ExchangeText::tr("Parameter initialization");
    if (!confirmed(session, title, ExchangeText::tr("Do you initialize parameter data?"),
                   askToSave))
        return Result::Declined;

    lockWindow(session);
    if (const Result facts = readControllerFacts(session); facts != Result::Done)
        return facts;
    const Outcome typeReply = exchangeLine(session, cmd::QPRM, 3000.0f, QStringLiteral("0"));
    if (!usable(session, typeReply, true))
        return resultOfFailure(typeReply);

    showInitProgress(session, points ? 16 : 10);
    const std::optional<QString> type = chooser.chooseType(
        records::actuatorTypeOf(typeReply.reply), session.guards().typeDialogWithoutFrame2);
    if (!type || type->isEmpty()) {
        endParameterInit(session);
        return Result::Declined;
    }

    const Outcome out = exchangeLine(session, cmd::INIT_PRM, 5000.0f, *type);
    if (out.verdict() == Verdict::NoAnswer) {
        reportNoAnswer(session);
        endParameterInit(session);
        return Result::LinkError;
    }
    if (!out.has("OK")) {
        // "NG" gets the box titled as the initialisation, with the reply; any other answer is
        // a refusal with the usual box.
        if (out.has("NG"))
            ReportRefusalWithReply(session, out);
        else
            reportRefusal(session, out);
        endParameterInit(session);
        return Result::Refused;
    }

    if (!fillTypeDefaults(session, *type)) {
        endParameterInit(session);
        return Result::Refused;
    }
    showOriginShift(session);
    session.dialogs().ok(ExchangeText::tr("Initializing has completed."), title);
    const Result language = offerEnglish(session);
    endParameterInit(session);
    return language;
}

Result InitOrigin(Session& session)
{
    return originCommand(session, cmd::INIT_ORG,
                         {ExchangeText::tr("Initialization of the origin"),
                          ExchangeText::tr(" Do you initialize the origin?"),
                          ExchangeText::tr("Initialization of the origin has finished.")});
}

Result ChangeOrigin(Session& session)
{
    if (isPoints(session))
        return originCommand(session, cmd::ORGC,
                             {ExchangeText::tr("Change the origin"),
                              ExchangeText::tr("Do you change the origin?"),
                              ExchangeText::tr("Change of the origin has finished.")});
    return originCommand(session, cmd::ORGC,
                         {ExchangeText::tr("Changing the origin"),
                          ExchangeText::tr(" Do you changing the origin?"),
                          ExchangeText::tr("Changing of the origin has finished.")});
}

}  // namespace kap::exchange

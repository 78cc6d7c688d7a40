// The error history read from the simulated controller, and the error record file.
#include "exchange/ErrorHistory.h"
#include "ExchangeRig.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

using namespace kap;
using namespace kap::test;

namespace {

// The given lines, then empty slots up to sixteen.
QStringList sixteen(QStringList lines)
{
    lines.resize(exchange::kErrorSlots);
    return lines;
}

const QByteArray kCrLf("\r\n");

}  // namespace

TEST(ErrorHistoryRead, WhatTheWindowGetsAndWhatTheUserSees)
{
    QList<QByteArray> twenty;
    QStringList firstSixteen;
    for (int n = 0; n < 20; ++n) {
        twenty << "E" + QByteArray::number(n);
        if (n < 16)
            firstSixteen << "E" + QString::number(n);
    }
    const Box linkError = linkErrorBox("Error history display");
    const Box stop = okBox("Stop", "Error history display", MsgIcon::Exclamation);
    struct Case {
        const char* name;
        QList<QByteArray> history;
        std::optional<sim::Fault> fault;
        bool cancel;
        std::optional<QStringList> shown;  // nothing: no window
        QList<Box> boxes;
    };
    // clang-format off
    const Case cases[] = {
        {"reply is only OK", {}, {}, false, sixteen({}), {}},
        {"twenty lines", twenty, {}, false, firstSixteen, {}},
        {"cancelled", {"E1,A"}, {}, true, sixteen({"E1,A"}), {stop}},
        {"time-out", {"E1"}, sim::Fault{sim::Fault::NoReply, {}, 0}, false, {}, {linkError}},
        {"reply cut short", {"E1 OVER"}, sim::Fault{sim::Fault::CutReply, {}, 5}, false, {}, {linkError}},
        // A refusal is no history: its box shows the reply, control characters by name.
        {"NG", {"E1"}, sim::Fault{sim::Fault::Refuse, "E-01 X", 0}, false, {},
         {refusalBoxWithReply("Error history display", "NG\nE-01 X")}},
        {"NG with a control character", {"E1"}, sim::Fault{sim::Fault::Refuse, "E-02\x1b[2J", 0}, false, {},
         {refusalBoxWithReply("Error history display", "NG\nE-02<1B>[2J")}},
        {"NG whose error line holds OK", {"E1"}, sim::Fault{sim::Fault::Refuse, "E-03 BROKEN", 0}, false, {},
         {refusalBoxWithReply("Error history display", "NG\nE-03 BROKEN")}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeRig rig;
        rig.session.setTimeScale(0.05);
        rig.sim.controller.errorHistory = c.history;
        if (c.fault)
            rig.sim.controller.arm("@READ ERR ", *c.fault);
        if (c.cancel)
            QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                             [&rig] { rig.bar().tag = QStringLiteral("1"); });
        rig.dialogs.ok(int(c.boxes.size()));

        const auto read = exchange::ReadErrorHistory(rig.session);

        ASSERT_EQ(read.has_value(), c.shown.has_value());
        if (read) {
            EXPECT_EQ(QStringList(read->begin(), read->end()), *c.shown);
        }
        EXPECT_EQ(rig.sent(), lines({"@READ ERR ,\r\n"}));
        EXPECT_EQ(rig.dialogs.boxes, c.boxes);
        rig.expectRestored();
    }
}

TEST(ErrorRecordFile, SavedByteForByteOrReportedAndLeftAlone)
{
    const QByteArray header("TALOR Error Record\r\n");
    const QString cannot("cannot be saved because it is read only or it is opened.");
    struct Case {
        const char* name;
        QStringList lines;
        const char* file;  // "": the dialog is cancelled
        QByteArray before;
        bool readOnly;
        QByteArray after;
    };
    // clang-format off
    const Case cases[] = {
        {"empty history", {}, "a.csv", {}, false, header + kCrLf.repeated(17)},
        {"commas unchanged", {"E1,A,\"3\""}, "a.csv", "old", false,
         header + "E1,A,\"3\"\r\n" + kCrLf.repeated(16)},
        {"read-only file kept", {"E1"}, "a.csv", "old", true, "old"},
        {"dialog cancelled", {"E1"}, "", {}, false, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ViewedSession window;
        const QString path = *c.file ? dir.filePath(QLatin1String(c.file)) : QString();
        QFile file(path);
        if (!c.before.isNull()) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.before) > 0);
            file.close();
        }
        if (c.readOnly)
            file.setPermissions(QFile::ReadOwner);
        window.dialogs.file(path);
        const bool fails = c.after.isNull() || c.readOnly;
        window.dialogs.ok(int(fails && !path.isEmpty()));
        exchange::ErrorLines lines;
        std::copy(c.lines.begin(), c.lines.end(), lines.begin());

        EXPECT_EQ(exchange::SaveErrorRecord(window.session, lines), !fails);

        EXPECT_EQ(window.dialogs.texts(),
                  fails && !path.isEmpty() ? QStringList{path + cannot} : QStringList{});
        if (!c.after.isNull()) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), c.after);
        }
        EXPECT_EQ(window.view.title, path.isEmpty() ? "" : "TALOR Support-Software" + path);
        EXPECT_EQ(window.dialogs.fileDialogs.value(0).filter, "Setting file(*.csv)|*.csv|");
    }
}

// The communication log window: following the log, Pause and Resume, Clear, find, Save as.
#include "ui/toolwindows/CommLogWindow.h"
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "link/ExchangeLog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

QStringList shown(const CommLogWindow& w)
{
    const QString text = child<QPlainTextEdit>(&w, "Txt_Log")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void click(const CommLogWindow& w, const char* name)
{
    child<QPushButton>(&w, name)->click();
}

}  // namespace

TEST(CommLogWindow, FollowsTheLogWhileShownPausesAndClears)
{
    ScriptedDialogs dialogs;
    ExchangeLog log;
    log.addSent(QStringLiteral("COM1"), "@?VER \r\n");
    CommLogWindow w(log, dialogs);
    EXPECT_EQ(w.objectName(), "frmLog");
    EXPECT_EQ(w.windowTitle(), "Communication log");
    w.show();
    log.addReceived(QStringLiteral("COM1"), "1.10\r\nOK\r\n", 12);
    EXPECT_EQ(shown(w), log.lines()) << "the line from before the window opened, and the new one";

    click(w, "Cmd_Pause");
    log.addSent(QStringLiteral("COM1"), "@?POS \r\n");
    log.addReceived(QStringLiteral("COM1"), "0.00\r\nOK\r\n", 3);
    EXPECT_EQ(shown(w).size(), 2);
    EXPECT_EQ(child<QPushButton>(&w, "Cmd_Pause")->text(), "Resume");
    EXPECT_TRUE(child<QLabel>(&w, "Lbl_Status")->text().contains("2 new lines"));
    click(w, "Cmd_Pause");
    EXPECT_EQ(shown(w), log.lines()) << "Resume shows what came during the pause";

    // Find moves from match to match, wraps at the end and selects what it found.
    auto* text = child<QPlainTextEdit>(&w, "Txt_Log");
    child<QLineEdit>(&w, "Txt_Find")->setText(QStringLiteral("ok<cr>"));
    QList<int> found;
    for (const bool backwards : {false, false, false, true}) {
        EXPECT_TRUE(w.find(backwards));
        EXPECT_EQ(text->textCursor().selectedText(), "OK<CR>");
        found << text->textCursor().blockNumber();
    }
    EXPECT_EQ(found, (QList<int>{1, 3, 1, 3}));
    child<QLineEdit>(&w, "Txt_Find")->setText(QStringLiteral("NG<CR>"));
    EXPECT_FALSE(w.find());

    w.hide();
    log.addSent(QStringLiteral("COM1"), "@?ORG \r\n");
    EXPECT_EQ(shown(w).size(), 4) << "a hidden window does not follow";
    w.show();
    EXPECT_EQ(shown(w), log.lines());

    click(w, "Cmd_Clear");
    EXPECT_EQ(log.size(), 0);
    EXPECT_TRUE(shown(w).isEmpty());
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST(CommLogWindow, SavesTheWholeLogOrSaysWhyNot)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("log.txt"));
    const struct {
        QString path;
        QByteArray content;  // expected in the file; null: not written
        int boxes;
    } cases[] = {
        {good, "12:00:00.000 COM1 --> A\n12:00:00.000 COM1 <-- [1 ms] OK<CR><LF>\n", 0},
        {dir.filePath(QStringLiteral("missing/log.txt")), {}, 1},
        {QString(), {}, 0},  // cancelled
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        ExchangeLog log;
        log.add({QTime(12, 0), QStringLiteral("COM1"), ExchangeEntry::Kind::Sent, "A", -1, {}});
        log.add(
            {QTime(12, 0), QStringLiteral("COM1"), ExchangeEntry::Kind::Received, "OK\r\n", 1, {}});
        CommLogWindow w(log, dialogs);
        w.setPaused(true);  // what is saved is the record, not the view
        dialogs.file(c.path);
        if (c.boxes)
            dialogs.ok();
        QFile::remove(good);
        click(w, "Cmd_Save");
        ASSERT_EQ(dialogs.boxes.size(), c.boxes) << c.path.toStdString();
        if (c.boxes) {
            EXPECT_EQ(dialogs.boxes.at(0).icon, MsgIcon::Critical);
        }
        QFile file(c.path);
        EXPECT_EQ(!c.path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                      : QByteArray(),
                  c.content);
    }
}

// The windows' texts and the Japanese translation: every text a window shows goes through
// Qt's translation, the Japanese file translates every one of them, and no widget text is set
// from a bare literal in the sources.
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "app/AppWindows.h"
#include "app/StartupWindow.h"
#include "language/Language.h"
#include "ui/dialogs/ActuatorTypeDialog.h"
#include "ui/dialogs/KeypadDialog.h"
#include "ui/dialogs/PointModeDialog.h"
#include "ui/dialogs/PortDialog.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/dialogs/StopDialog.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"
#include "ui/toolwindows/AnglePlotWindow.h"
#include "ui/toolwindows/CommLogWindow.h"
#include "ui/toolwindows/ErrorHistoryWindow.h"
#include "ui/toolwindows/SpeedCalculatorWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QTranslator>
#include <QXmlStreamReader>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

// Every text a window and its children show: titles, captions, tool tips, placeholders,
// column captions and the actions of menus and tool bars; "objectName: text" each.
QStringList shownTexts(QWidget* top)
{
    QStringList out;
    const auto add = [&](const QObject* o, const QString& text) {
        if (!text.trimmed().isEmpty())
            out << o->objectName() + QStringLiteral(": ") + text;
    };
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    QSet<QAction*> actions;
    for (QWidget* w : widgets) {
        if (w->isWindow())
            add(w, w->windowTitle());
        add(w, w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(w, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(w, button->text());
        if (auto* box = qobject_cast<QGroupBox*>(w))
            add(w, box->title());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            add(w, edit->placeholderText());
        if (auto* menu = qobject_cast<QMenu*>(w))
            add(w, menu->title());
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(w, tabs->tabText(i));
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
            const auto* h = qobject_cast<QTableView*>(w);
            if (!h || h->horizontalHeader()->isVisible())
                for (int c = 0; c < view->model()->columnCount(); ++c)
                    add(w, view->model()->headerData(c, Qt::Horizontal).toString());
        }
        for (QAction* a : w->actions())
            actions.insert(a);
    }
    for (QAction* a : actions) {
        if (a->isSeparator())
            continue;
        add(a, a->text());
        if (a->toolTip() != QString(a->text()).remove(u'&'))
            add(a, a->toolTip());
    }
    return out;
}

// Texts a window shows that are names or values, not words: port names, device paths,
// numbers, units, the status bar's date and time, the languages' own names.
bool isName(const QString& entry)
{
    static const QRegularExpression name(QStringLiteral(
        R"(^(Panel6_Date: .*|Panel7_Time: .*|mnuViewLanguage_\w+: .*|[^:]*: (COM[1-8]|/dev/\S*|[\d\s.,:;+\-*/%()=<>#]*|(deg|rps|pps|%|ms|s)))$)"));
    return name.match(entry).hasMatch();
}

// Marks every text it translates, so a text that did not go through translation stands out.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QStringLiteral("\u2039") + QString::fromUtf8(source) + QStringLiteral("\u203a");
    }
};

// The Japanese translation, noting every text it was asked for and has not.
class RecordingTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override
    {
        const QString t = QTranslator::translate(context, source, disambiguation, n);
        const QString text = QString::fromUtf8(source);
        // Qt's own contexts are for Qt's translation, not ours.
        if (t.isEmpty() && !QByteArray(context).startsWith('Q')
            && text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
            misses << QString::fromUtf8(context) + QStringLiteral(" / ") + text;
        return t;
    }
    mutable QStringList misses;
};

struct Installed {
    explicit Installed(QTranslator& t) : t_(t) { QCoreApplication::installTranslator(&t_); }
    ~Installed() { QCoreApplication::removeTranslator(&t_); }
    QTranslator& t_;
};

// Builds each window the program shows (both main windows with their tool windows, the
// dialogs, the tool windows) and hands it to look; the ScriptedDialogs records the boxes.
void eachWindow(ScriptedDialogs& dialogs, const std::function<void(QWidget&)>& look)
{
    ScratchState clean;
    for (const Family family : {Family::PointInput, Family::PulseTrain}) {
        std::unique_ptr<MainFrame> w;
        if (family == Family::PointInput)
            w = std::make_unique<PointInputWindow>(dialogs, clean);
        else
            w = std::make_unique<PulseTrainWindow>(dialogs, clean);
        w->show();
        look(*w);
        look(w->progressDialog());
        look(w->stopDialog());
        w->run(Command::ShowCommLog);
        look(*w->commLog());
        w->run(Command::ShowAnglePlot);
        look(*w->anglePlot());
        exchange::ErrorLines lines;
        ErrorHistoryWindow history(w->session(), lines);
        look(history);
        w->commLog()->close();
        w->anglePlot()->close();
    }
    PortDialog p(clean);
    look(p);
    ActuatorTypeDialog type;
    look(type);
    PointModeDialog mode;
    look(mode);
    KeypadDialog key;
    look(key);
    SpeedCalculatorWindow calc(dialogs);
    calc.openFor(QStringLiteral("65"));
    look(calc);
    AppWindows windows(dialogs, clean);
    StartupWindow startup(windows);
    look(startup);
}

TEST(Texts, EveryShownTextGoesThroughTranslation)
{
    MarkingTranslator marking;
    const Installed installed(marking);
    ScriptedDialogs dialogs;
    QStringList bare;
    eachWindow(dialogs, [&](QWidget& w) {
        for (const QString& entry : shownTexts(&w))
            if (!entry.contains(u'\u2039') && !isName(entry))
                bare << w.objectName() + QStringLiteral(" > ") + entry;
    });
    EXPECT_TRUE(bare.isEmpty()) << bare.join(u'\n').toStdString();
}

TEST(Texts, JapaneseTranslatesEveryWindowAndBox)
{
    RecordingTranslator japanese;
    ASSERT_TRUE(japanese.load(QStringLiteral("kap_ja"), QStringLiteral(KAP_TRANSLATIONS_DIR)));
    const Installed installed(japanese);
    ScriptedDialogs dialogs;
    int windows = 0;
    eachWindow(dialogs, [&](QWidget& w) {
        ++windows;
        EXPECT_FALSE(shownTexts(&w).isEmpty()) << w.objectName().toStdString();
    });
    // A few boxes: a command that needs the controller with none on the line.
    {
        ScratchState clean;
        const PortOverride nowhere(1, QStringLiteral("/nonexistent/kap-test-port"));
        PointInputWindow w(dialogs, clean);
        dialogs.ok(3);
        w.run(Command::ReceiveParameters);
        w.run(Command::ErrorHistory);
    }
    EXPECT_GT(windows, 10);
    ASSERT_FALSE(dialogs.boxes.isEmpty());
    static const QRegularExpression kana(QStringLiteral("[\u3040-\u30ff\u4e00-\u9fff]"));
    for (const Box& box : dialogs.boxes)
        EXPECT_TRUE(box.text.contains(kana)) << box.text.toStdString();
    japanese.misses.removeDuplicates();
    EXPECT_TRUE(japanese.misses.isEmpty()) << japanese.misses.join(u'\n').toStdString();
}

// The .ts file itself: nothing unfinished, and each translation keeps its source's
// placeholders (%1 ...) and menu accelerators (&F), so .arg() and the keyboard still work.
TEST(Texts, JapaneseFileIsCompleteAndKeepsPlaceholders)
{
    QFile file(QStringLiteral(KAP_SOURCE_DIR "/translations/kap_ja.ts"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    static const QRegularExpression marks(QStringLiteral(R"(%\d|&[A-Za-z])"));
    const auto marksOf = [](const QString& text) {
        QStringList found;
        for (auto it = marks.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    QString source;
    QStringList faults;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText();
            if (!type.isEmpty() || text.isEmpty())
                faults << QStringLiteral("unfinished: ") + source;
            else if (marksOf(source) != marksOf(text))
                faults << QStringLiteral("marks differ: ") + source + QStringLiteral(" => ") + text;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 300);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

// No widget text set from a literal: a text given to a widget, an action, a box or a title
// is tr()'d (or comes from a translated table), never QStringLiteral("Words").
TEST(Texts, NoWidgetTextFromABareLiteral)
{
    static const QRegularExpression bare(QStringLiteral(
        R"((setText|setWindowTitle|setToolTip|setStatusTip|setTitle|setPlaceholderText|)"
        R"(showMessage|addAction|addMenu|setHorizontalHeaderLabels|setTabText|)"
        R"(new Q(Label|PushButton|CheckBox|RadioButton|GroupBox|Action|Menu))\(\s*)"
        R"((QStringLiteral\(|QString::fromUtf8\(|QLatin1String\(|u)?"[^"]*[A-Za-z]{2})"));
    QStringList found;
    QDirIterator it(QStringLiteral(KAP_SOURCE_DIR "/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String("/src/cli/")))
            continue;  // the command line speaks English only
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
        int line = 0;
        while (!f.atEnd()) {
            ++line;
            const QString text = QString::fromUtf8(f.readLine());
            if (bare.match(text).hasMatch())
                found << QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(text.trimmed());
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

// The language to start in: the user's choice when it is a known one, else the system's.
TEST(Language, ChoiceOverridesTheSystemLocale)
{
    const QLocale japan(QLocale::Japanese, QLocale::Japan);
    const QLocale germany(QLocale::German, QLocale::Germany);
    const struct {
        const char* saved;
        QLocale system;
        const char* expected;
    } cases[] = {
        {"", japan, "ja"},     {"", germany, "en"}, {"en", japan, "en"},
        {"ja", germany, "ja"}, {"fr", japan, "ja"}, {"fr", germany, "en"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(language::resolve(QString::fromLatin1(c.saved), c.system),
                  QString::fromLatin1(c.expected))
            << c.saved << " " << c.system.name().toStdString();

    // Kept in the settings; an empty choice goes back to following the system.
    ASSERT_TRUE(language::saveChoice(QStringLiteral("ja")));
    EXPECT_EQ(language::savedChoice(), QStringLiteral("ja"));
    ASSERT_TRUE(language::saveChoice(QString()));
    EXPECT_EQ(language::savedChoice(), QString());
}

// View > Language keeps the choice and says when it takes effect; the running language
// (English here) needs no box.
TEST(Language, ViewMenuKeepsTheChoiceForTheNextStart)
{
    ScratchState clean;
    ScriptedDialogs dialogs;
    PointInputWindow w(dialogs, clean);
    const struct {
        const char* item;
        const char* saved;
        int boxes;
    } steps[] = {{"mnuViewLanguage_ja", "ja", 1}, {"mnuViewLanguage_en", "en", 1}};
    dialogs.ok();
    for (const auto& step : steps) {
        w.findChild<QAction*>(QLatin1String(step.item))->trigger();
        EXPECT_EQ(language::savedChoice(), QLatin1String(step.saved));
        EXPECT_EQ(dialogs.boxes.size(), step.boxes) << step.item;
        EXPECT_TRUE(w.findChild<QAction*>(QLatin1String(step.item))->isChecked());
    }
    EXPECT_TRUE(dialogs.boxes.first().text.contains(QStringLiteral("日本語")));
    language::saveChoice(QString());
}

}  // namespace

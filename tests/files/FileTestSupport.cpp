#include "FileTestSupport.h"

#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "session/Session.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace kap::test {

namespace {

QList<QStringList> cellsOf(const Grid& g)
{
    QList<QStringList> out;
    for (int r = -g.fixedRows(); r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.columns(); ++c)
            row << g.text(r, c);
        out << row;
    }
    return out;
}

QStringList linesWith(const QStringList& dataLines, const QMap<int, QString>& shown,
                      bool closingBlank)
{
    QStringList lines{QStringLiteral("KAP,,,,,")};
    lines << dataLines << QStringLiteral(",,,,,");
    for (int n = 0; n < 64; ++n)
        lines << QStringLiteral("PRM%1=,%2,,,,").arg(n).arg(shown.value(n, QStringLiteral("**")));
    if (closingBlank)
        lines << QStringLiteral(",,,,,");
    return lines;
}

}  // namespace

GridState stateOf(Session& s)
{
    return {cellsOf(s.tableGrid()), cellsOf(s.parameterGrid()), s.tableGrid().tag()};
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray fileOf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out + "\r\n";
}

QStringList freshPointLines()
{
    QStringList points;
    for (int n = 0; n < 64; ++n)
        points << QStringLiteral("P%1=,,,,,").arg(n);
    const QMap<int, QString> shown{{0, "50"},  {1, "0"},   {2, "0"},   {3, "300"},  {4, "100"},
                                   {5, "1"},   {6, "**"},  {10, "50"}, {21, "360"}, {22, "1"},
                                   {24, "50"}, {25, "50"}, {28, "0"},  {30, "100"}, {34, "50"},
                                   {35, "0"},  {36, "50"}};
    return linesWith(points, shown, true);
}

QStringList freshPulseLines()
{
    QStringList zones;
    for (int n = 0; n < 4; ++n)
        zones << QStringLiteral("Z%1=,,,,,").arg(n);
    const QMap<int, QString> shown{{0, "50"}, {4, "100"}, {5, "1"},    {10, "50"},
                                   {22, "1"}, {35, "0"},  {36, "50"},  {38, "1"},
                                   {39, "1"}, {43, "0"},  {53, "1000"}};
    return linesWith(zones, shown, false);
}

void fillPoints(Session& s)
{
    Grid& g = s.tableGrid();
    const QStringList rows[] = {
        {"0", "A", "10", "50", "plain"},   {"1", "I", "-25.5", "100", "a, b"},
        {"2", "B", "1", "", "say \"hi\""}, {"3", "", "0.125", "", "caf\u00e9 \u20ac"},
        {"5", "a", "359.99", "1", ""},     {"63", "I", "720", "7", "end, \"q\""},
    };
    for (const QStringList& r : rows) {
        for (int c = 1; c <= 4; ++c)
            g.setText(r[0].toInt(), c, r[c]);
    }
    Grid& p = s.parameterGrid();
    p.setText(0, kValueColumn, "100");    // PRM 1
    p.setText(2, kValueColumn, "200");    // PRM 3
    p.setText(7, kValueColumn, "720");    // PRM 21
    p.setText(14, kValueColumn, "-150");  // PRM 35
}

void fillZones(Session& s)
{
    Grid& g = s.tableGrid();
    const QStringList rows[] = {
        {"0", "10", "20.5", "z, one"},
        {"1", "0", "359.99", "\"quoted\""},
        {"3", "100.25", "", "last"},
    };
    for (const QStringList& r : rows) {
        for (int c = 1; c <= 3; ++c)
            g.setText(r[0].toInt(), c, r[c]);
    }
    Grid& p = s.parameterGrid();
    p.setText(0, kValueColumn, "50");   // PRM 4
    p.setText(6, kValueColumn, "3");    // PRM 38
    p.setText(9, kValueColumn, "500");  // PRM 53
}

void queueAnswer(ScriptedDialogs& d, Answer answer, const QString& path)
{
    d.answer(answer == Answer::No       ? MsgAnswer::No
             : answer == Answer::Cancel ? MsgAnswer::Cancel
                                        : MsgAnswer::Yes);
    if (answer == Answer::YesCancelledDialog)
        d.file("");
    if (answer == Answer::YesSaved)
        d.file(path).ok();
}

void expectAsked(const ScriptedDialogs& d, Answer answer, const QString& path,
                 const std::string& label)
{
    EXPECT_EQ(d.boxes.value(0).text, "Do you save data?") << label;
    EXPECT_EQ(d.boxes.value(0).buttons, MsgButtons::YesNoCancel) << label;
    EXPECT_EQ(d.pendingAnswers(), 0) << label;
    EXPECT_EQ(QFile::exists(path), answer == Answer::YesSaved) << label;
}

QList<QList<QStringList>> pagesOf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput())
                            .normalized(QString::NormalizationForm_KC)
                            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QList<QList<QStringList>> out;
    for (const QString& page : pages) {
        QList<QStringList> lines;
        for (const QString& line : page.split(u'\n'))
            lines << line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        out << lines;
    }
    return out;
}

QStringList words(const QString& text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

::testing::AssertionResult hasLine(const QList<QStringList>& page, const QStringList& wanted)
{
    if (page.contains(wanted))
        return ::testing::AssertionSuccess();
    QString text;
    for (const QStringList& line : page)
        text += line.join(u'|') + u'\n';
    return ::testing::AssertionFailure() << "no line " << wanted.join(u'|').toStdString() << " in\n"
                                         << text.toStdString();
}

}  // namespace kap::test

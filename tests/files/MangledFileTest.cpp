// Hundreds of damaged setting files: none may crash the program, and one that is refused
// leaves the grids exactly as they were.
#include "FileTestSupport.h"
#include "SimLine.h"
#include "files/SettingCommands.h"
#include "session/Session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace kap;
using namespace kap::test;

namespace {

// Damaged variants of a good file, the same ones on every run.
QList<QByteArray> mangled(const QByteArray& good, unsigned seed)
{
    std::mt19937 rng(seed);
    const auto pick = [&rng](qsizetype n) {
        return qsizetype(rng() % quint32(std::max<qsizetype>(n, 1)));
    };
    QList<QByteArray> out;
    for (int i = 0; i < 60; ++i)  // truncated anywhere
        out << good.left(pick(good.size()));
    for (int i = 0; i < 60; ++i) {  // bytes flipped
        QByteArray b = good;
        for (int k = 0; k < 1 + i % 8; ++k)
            b[pick(b.size())] = char(rng() & 0xFF);
        out << b;
    }
    for (int i = 0; i < 40; ++i) {  // binary noise, alone or after the tag
        QByteArray b(int(pick(4000)), '\0');
        for (char& ch : b)
            ch = char(rng() & 0xFF);
        out << (i % 2 ? "KAP," + b : b);
    }
    for (int i = 0; i < 30; ++i) {  // a huge field somewhere
        QByteArray b = good;
        b.insert(pick(b.size()), QByteArray(200000 + int(pick(800000)), i % 3 ? 'x' : ','));
        out << b;
    }
    for (int i = 0; i < 30; ++i) {  // quotes that never close, or close oddly
        QByteArray b = good;
        b.insert(pick(b.size()), i % 2 ? "\"" : "\"\"x\"");
        out << b;
    }
    for (int i = 0; i < 30; ++i) {  // line ends removed or multiplied
        QByteArray b = good;
        b.replace("\r\n", i % 2 ? "" : "\r\n\r\n\n\r");
        out << b.left(pick(b.size()) + b.size() / 2);
    }
    for (const char* tag : {"KAPP", "kap", "\"KAP", "KA", "", " ", "\xef\xbb\xbfKAP", "KAP\x1a"})
        out << QByteArray(tag) + good.mid(3);
    return out;
}

class MangledFiles : public ::testing::TestWithParam<Family> {};

}  // namespace

TEST_P(MangledFiles, NeverCrashAndRefusedOnesChangeNothing)
{
    const Family family = GetParam();
    ScratchState clean;
    QTemporaryDir dir;
    int refused = 0;
    int opened = 0;
    LenientDialogs dialogs;
    Session session(family, dialogs, clean);
    const QByteArray good = fileOf(family == Family::PointInput ? freshPointLines()
                                                                : freshPulseLines());
    const QList<QByteArray> files = mangled(good, family == Family::PointInput ? 1u : 2u);
    for (qsizetype i = 0; i < files.size(); ++i) {
        dialogs.openPath = dir.filePath(QStringLiteral("m%1.csv").arg(i));
        writeBytes(dialogs.openPath, files[i]);
        dialogs.texts.clear();
        const GridState before = stateOf(session);
        SettingCommands(session).open();
        ASSERT_FALSE(dialogs.texts.isEmpty()) << i;
        const QString last = dialogs.texts.last();
        if (last == "    Complete.") {
            ++opened;
            continue;
        }
        ++refused;
        EXPECT_TRUE(last == "Cannot open file." || last == "Controller type is different.")
            << i << ": " << last.toStdString();
        EXPECT_EQ(stateOf(session), before) << "file " << i;
    }
    EXPECT_GE(refused + opened, 250);
    EXPECT_GT(refused, 100);
}

// One family per test: each reads some 20 MB of damaged files.
INSTANTIATE_TEST_SUITE_P(BothFamilies, MangledFiles,
                         ::testing::Values(Family::PointInput, Family::PulseTrain),
                         [](const auto& info) {
                             return info.param == Family::PointInput ? "PointInput" : "PulseTrain";
                         });

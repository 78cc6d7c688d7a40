#include "Ini.h"
#include "Module1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = QDir(dir.path()).filePath("TALOR.ini");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

}  // namespace

TEST(Ini, ReadsLikeThePrivateProfileCall)
{
    QTemporaryDir dir;
    const QString path = writeFile(
        dir, "[Other]\r\nCOM=7\r\n[data]\r\n  com = 3  \r\nLong=" + QByteArray(300, 'x')
                 + "\r\nZero=ab" + QByteArray(1, '\0') + "cd\r\n");
    EXPECT_EQ(ReadIniValue("COM", "Data", path), "3");   // case-insensitive, trimmed
    EXPECT_EQ(ReadIniValue("Long", "Data", path).size(), 254);
    EXPECT_EQ(ReadIniValue("Zero", "Data", path), "ab");
    EXPECT_EQ(ReadIniValue("Missing", "Data", path), "ERROR");
    EXPECT_EQ(ReadIniValue("COM", "Nowhere", path), "ERROR");
    EXPECT_EQ(ReadIniValue("COM", "Data", path + ".absent"), "ERROR");
}

TEST(Ini, WriteCreatesFileSectionAndKeyAndKeepsTheRest)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("TALOR.ini");
    ASSERT_TRUE(WriteIniValue("3", "COM", "Data", path));
    EXPECT_EQ(readFile(path), "[Data]\r\nCOM=3\r\n");

    writeFile(dir, "; notes\r\n[Other]\r\nx=1\r\n\r\n[DATA]\r\nBaud=9600\r\nCOM=5\r\n");
    ASSERT_TRUE(WriteIniValue("8", "com", "Data", path));
    EXPECT_EQ(readFile(path), "; notes\r\n[Other]\r\nx=1\r\n\r\n[DATA]\r\nBaud=9600\r\ncom=8\r\n");

    writeFile(dir, "[Data]\r\nBaud=9600\r\n\r\n[Other]\r\nx=1\r\n");
    ASSERT_TRUE(WriteIniValue("2", "COM", "Data", path));
    EXPECT_EQ(readFile(path), "[Data]\r\nBaud=9600\r\nCOM=2\r\n\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(ReadIniValue("COM", "Data", path), "2");
}

TEST(Ini, AFailedWriteReportsFalse)
{
    EXPECT_FALSE(WriteIniValue("1", "COM", "Data", "/nonexistent-folder/TALOR.ini"));
}

TEST(Ini, PortNumberIsStoredFromThePortName)
{
    QTemporaryDir dir;
    module1().reset();
    module1().programFolder = dir.path();
    module1().portName = "COM3";
    ASSERT_TRUE(StorePortNumber());
    EXPECT_EQ(ReadIniValue("COM", "Data", module1().iniPath()), "3");
    module1().reset();
    module1().programFolder.clear();
}

// A program folder the user cannot write (an installed program): the port goes to the user's
// own TALOR.ini and is read back from there.
TEST(Ini, PortNumberGoesToTheUsersCopyWhenTheProgramFolderIsNotWritable)
{
    QTemporaryDir user;
    module1().reset();
    module1().programFolder = QStringLiteral("/nonexistent-kap-folder");
    module1().userFolder = user.filePath(QStringLiteral("KAP"));
    module1().portName = "COM3";
    ASSERT_TRUE(StorePortNumber());
    EXPECT_EQ(module1().iniPath(), user.filePath(QStringLiteral("KAP/TALOR.ini")));
    module1().portName = "COM1";
    EXPECT_EQ(ReadPortName(), "COM3");
    module1().reset();
    module1().programFolder.clear();
    module1().userFolder.clear();
}

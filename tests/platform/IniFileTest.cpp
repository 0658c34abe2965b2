#include "platform/IniFile.h"
#include "ErrorText.h"
#include "FileSizeLimit.h"
#include "TestFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString Path() const { return folder.Path("test.ini"); }
    void Write(const QByteArray& content) const { folder.Write("test.ini", content); }
    QByteArray Read(const QString& relative = "test.ini") const { return folder.Read(relative); }

    TestFolder folder;
};

// Sections and keys match without regard to case and the first of a name wins; values are
// cut to the platform's 2,047 characters; a number that is no decimal integer reads as the
// default, as does anything of a missing file.
TEST_F(IniFileTest, ReadsLikeThePrivateProfileFunctions) {
    const QByteArray longText(3000, 'x');
    Write("orphan=before any section\r\n[Kordi]\r\n  Sound  =  1  \r\nno equals sign\r\n"
          "sound=2\r\nEmpty=\r\nLong=" +
          longText + "\r\nWord=abc\r\nHuge=99999999999\r\n[ kordi ]\r\nStrong=5\r\n");
    const TIniFile ini(Path());
    const std::pair<const char*, QByteArray> read[] = {{"SOUND", "1"},
                                                       {"Strong", "d"},
                                                       {"Empty", ""},
                                                       {"orphan", "d"},
                                                       {"Long", longText.left(2047)}};
    for (const auto& [key, value] : read)
        EXPECT_EQ(ini.ReadString("kordi", key, "d"), value) << key;
    EXPECT_EQ(ini.ReadString("Kordi", "Missing", longText), longText.left(2047));
    EXPECT_EQ(ini.ReadInteger("Kordi", "Sound", 16), 1);
    for (const char* key : {"Word", "Huge", "Missing"})
        EXPECT_EQ(ini.ReadInteger("Kordi", key, 16), 16) << key;
    EXPECT_EQ(TIniFile(folder.Path("none.ini")).ReadString("Kordi", "Sound", "d"), "d");
}

// Missing keys go to the end of their section, missing sections to the end of the file,
// with the file's own line ends; a new file gets CR LF. A CR at the very end ends no line.
TEST_F(IniFileTest, WriteAddsKeysAndSections) {
    Write("[A]\nx=1\n; note\n\n[B]\ny=2");
    TIniFile ini(Path());
    ini.WriteString("a", "Added", "new");
    ini.WriteString("B", "z", "3");
    ini.WriteInteger("C", "n", 42);
    EXPECT_EQ(Read(), "[A]\nx=1\n; note\nAdded=new\n\n[B]\ny=2\nz=3\n[C]\nn=42\n");

    TIniFile fresh(folder.Path("fresh.ini"));
    fresh.WriteString("NetPlay", "Name", "two\r\nlines");
    EXPECT_EQ(Read("fresh.ini"), "[NetPlay]\r\nName=two  lines\r\n");

    Write("[A]\r\nx=1\r");
    TIniFile bare(Path());
    bare.WriteString("A", "y", "2");
    EXPECT_EQ(bare.ReadString("A", "x", "?"), "1");
    EXPECT_EQ(Read(), "[A]\r\nx=1\r\r\ny=2\r\n");
}

// One pair of matching quotes around a value is no part of it on reading; whatever is
// written reads back byte for byte, quotes and blanks at its ends included.
TEST_F(IniFileTest, QuotesAroundAValue) {
    Write("[A]\r\nq=  \"  spaced \"  \r\ns='single'\r\nm=\"mixed'\r\nin=say \"hi\"\r\n"
          "one=\"\r\ntwice=\"\"x\"\"\r\n");
    TIniFile ini(Path());
    const std::pair<const char*, QByteArray> read[] = {{"q", "  spaced "}, {"s", "single"},
                                                       {"m", "\"mixed'"},  {"in", "say \"hi\""},
                                                       {"one", "\""},      {"twice", "\"x\""}};
    for (const auto& [key, value] : read)
        EXPECT_EQ(ini.ReadString("A", key, "?"), value) << key;
    EXPECT_EQ(ini.ReadString("A", "none", "'d'"), "'d'");

    for (const QByteArray value :
         {"\"Bob\"", "'x'", " lead", "trail ", "\"", "a\"b'", "", "\xC0 z"}) {
        ini.WriteString("B", "k", value);
        EXPECT_EQ(ini.ReadString("B", "k", "?"), value) << value.constData();
    }
    EXPECT_TRUE(Read().endsWith("[B]\r\nk=\xC0 z\r\n"));
}

// A write that cannot be done raises "Unable to write to <path>" and never leaves a
// truncated file behind.
TEST_F(IniFileTest, FailedWriteRaisesAndKeepsTheOldFile) {
    const QString directory = folder.Path("folder.ini");
    ASSERT_TRUE(QDir().mkdir(directory));
    const QString nowhere = folder.Path("missing/Kordi2000.ini");
    for (const QString& path : {directory, nowhere})
        EXPECT_EQ(ErrorText<IoError>([&] { TIniFile(path).WriteString("Kordi", "Sound", "1"); }),
                  "Unable to write to " + path);

    QFile shipped(KORDI_SOURCE_DIR "/data/Kordi2000.ini");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray old = shipped.readAll();
    Write(old);
    {
        FileSizeLimit fullDisk(old.size() / 2);
        EXPECT_THROW(TIniFile(Path()).WriteString("Kordi", "Sound", "0"), IoError);
    }
    EXPECT_EQ(Read(), old);
    EXPECT_EQ(QDir(folder.Path(".")).entryList(QDir::Files), QStringList{"test.ini"});
}

} // namespace

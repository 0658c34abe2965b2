#include "TestFolder.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Result {
    int status;
    QString out;
    QString err;
};

Result KordiMove(const QStringList& arguments) {
    QProcess process;
    process.start(KORDI_GAME_DIR "/kordi-move", arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

// The tool plays the game's move: the first longest word through the new letter, unused.
TEST(KordiMove, PrintsTheComputersMove) {
    TestFolder folder;
    folder.Write("words", "HOUSE\r\nAH\r\nSHE\r\nHA\r\n");
    const QString dict = folder.Path("words");
    const QString board = "..........HOUSE..........";
    EXPECT_EQ(KordiMove({"--dict", dict, "--lang", "2", "--strength", "8", "--used", "HOUSE",
                         board}).out,
              "AH 1 2 A\n");
    EXPECT_EQ(KordiMove({"--dict", dict, "--lang", "2", "--strength", "3", "--used", "house",
                         "--used", "AH", "--used", "HA", board}).out,
              "NONE\n");
    const Result timed = KordiMove({"--dict", dict, "--lang", "2", "--strength", "8", "--repeat",
                                    "5", board});
    EXPECT_EQ(timed.status, 0);
    EXPECT_TRUE(timed.err.startsWith("mean_us=")) << timed.err.toStdString();
}

// Russian boards and words are read and written in UTF-8.
TEST(KordiMove, SpeaksUtf8) {
    TestFolder folder;
    folder.Write("words", QByteArray("\xCA\xCE\xD2\r\n")); // КОТ in code page 1251
    const Result result = KordiMove({"--dict", folder.Path("words"), "--lang", "1", "--strength",
                                     "3", QString::fromUtf8("..........ко.............")});
    EXPECT_EQ(result.out, QString::fromUtf8("КОТ 2 2 Т\n"));
}

// Bad arguments are refused with a message and status 2.
TEST(KordiMove, RefusesBadArguments) {
    TestFolder folder;
    folder.Write("words", "CAT\r\n");
    const QString dict = folder.Path("words");
    const QList<QStringList> bad = {
        {"--dict", dict, "--lang", "2", "--strength", "8", "...."},
        {"--dict", dict, "--lang", "2", "--strength", "8", "..........HOUS1.........."},
        {"--dict", dict, "--lang", "3", "--strength", "8", "..........HOUSE.........."},
        {"--dict", dict, "--lang", "2", "--strength", "9", "..........HOUSE.........."},
        {"--dict", folder.Path("missing"), "--lang", "2", "--strength", "8",
         "..........HOUSE.........."},
        {"--lang", "2", "--strength", "8", "..........HOUSE.........."},
    };
    for (const QStringList& arguments : bad) {
        const Result result = KordiMove(arguments);
        EXPECT_EQ(result.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("kordi-move: ")) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}

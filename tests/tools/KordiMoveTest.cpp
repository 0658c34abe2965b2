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

const QString Board = "..........HOUSE..........";

} // namespace

// The tool plays the game's move: the first longest word through the new letter, unused.
// Russian boards and words are read and written in UTF-8.
TEST(KordiMove, PrintsTheComputersMove) {
    TestFolder folder;
    folder.Write("words", "HOUSE\r\nAH\r\nSHE\r\nHA\r\n");
    const QStringList english = {"--dict", folder.Path("words"), "--lang", "2", "--strength"};
    EXPECT_EQ(KordiMove(english + QStringList{"8", "--used", "HOUSE", Board}).out, "AH 1 2 A\n");
    const QStringList allUsed = {"3", "--used", "house", "--used", "AH", "--used", "HA", Board};
    EXPECT_EQ(KordiMove(english + allUsed).out, "NONE\n");

    folder.Write("slova", QByteArray("\xCA\xCE\xD2\r\n")); // КОТ in code page 1251
    const Result russian = KordiMove({"--dict", folder.Path("slova"), "--lang", "1", "--strength",
                                      "3", QString::fromUtf8("..........ко.............")});
    EXPECT_EQ(russian.out, QString::fromUtf8("КОТ 2 2 Т\n"));
}

// Bad arguments are refused with a message and status 2.
TEST(KordiMove, RefusesBadArguments) {
    TestFolder folder;
    folder.Write("words", "CAT\r\n");
    const QString dict = folder.Path("words");
    const QList<QStringList> bad = {
        {"--dict", dict, "--lang", "2", "--strength", "8", "...."},
        {"--dict", dict, "--lang", "2", "--strength", "8", "..........HOUS1.........."},
        {"--dict", dict, "--lang", "3", "--strength", "8", Board},
        {"--dict", dict, "--lang", "2", "--strength", "9", Board},
        {"--dict", folder.Path("missing"), "--lang", "2", "--strength", "8", Board},
        {"--lang", "2", "--strength", "8", Board},
        // A letter outside the code page, and half of a surrogate pair, have no byte.
        {"--dict", dict, "--lang", "2", "--strength", "8", "--used", QString::fromUtf8("É"), Board},
        {"--dict", dict, "--lang", "2", "--strength", "8",
         QString::fromUtf8("..........HOUS\xF0\x9F\x98\x80.........")},
    };
    for (const QStringList& arguments : bad) {
        const Result result = KordiMove(arguments);
        EXPECT_EQ(result.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("kordi-move: ")) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}

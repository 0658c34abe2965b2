// The player's words and results under stress played by a child process: a copy of the game
// killed while writing them, and a second copy writing them at the same time. Neither may
// cost the player a word or a result.

#include "ChildProcess.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "settings/Records.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>
#include <set>

namespace {

constexpr int WordsPerCopy = 60;

// A distinct word for each number.
QByteArray WordOf(const QByteArray& prefix, int number) {
    QByteArray word = prefix;
    for (int rest = number; rest > 0; rest /= 26)
        word += char('A' + rest % 26);
    return word;
}

// The dictionary file after `words` words of the killed copy: a large base, then those.
QByteArray DictionaryVersion(int words) {
    QByteArray file;
    for (int i = 1; i <= 5000; ++i)
        file += WordOf("B", i) + "\r\n";
    for (int i = 1; i <= words; ++i)
        file += WordOf("W", i) + "\r\n";
    return file;
}

// Until killed, or 30 s have passed, the child appends one word after another.
void AppendWords(const QString& path) {
    TDictionary words;
    words.FileName = path;
    ReportChildReady();
    QElapsedTimer clock;
    clock.start();
    for (int version = 1; clock.elapsed() < 30000; ++version)
        words.AppendWord(WordOf("W", version));
}

// Each copy adds its own words, or fills every list of its own language, writing the table
// after each result.
void AddWords(const QString& path, const QByteArray& copy) {
    TDictionary words;
    words.FileName = path;
    for (int number = 1; number <= WordsPerCopy; ++number)
        words.AppendWord(WordOf(copy, number));
}
void AddResults(const TProgramFolder& folder, int language) {
    TRunWinners Winners;
    ReadWinners(Winners, folder);
    for (int level = 1; level <= 6; ++level) {
        for (int result = 1; result <= 10; ++result) {
            AddToWinners(Winners, language, level, result, "Copy");
            WriteWinners(Winners, folder);
        }
    }
}

const bool roles = RegisterChildRole("append words", AppendWords) &&
                   RegisterChildRole("add words",
                                     [](const QString& path) {
                                         ReportChildReady();
                                         AddWords(path, "C");
                                     }) &&
                   RegisterChildRole("add results", [](const QString& programFolder) {
                       ReportChildReady();
                       AddResults(TProgramFolder(programFolder), 1);
                   });

void WaitForTheOtherCopy(QProcess* child) {
    ASSERT_NE(child, nullptr) << "the other copy did not start";
    EXPECT_TRUE(child->waitForFinished(120000));
    EXPECT_EQ(child->exitCode(), 0);
}

// Lays the dictionary's first version, kills the child at a random moment of its writing,
// and gives the number of its words the file then holds whole, or -1.
int KillWhileAppending(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(DictionaryVersion(0)) < 0)
        return ADD_FAILURE() << "cannot lay " << path.toStdString(), -1;
    file.close();
    const std::unique_ptr<QProcess> child = StartChildRole("append words", path);
    if (!child)
        return ADD_FAILURE() << "the child did not start", -1;
    QThread::usleep(QRandomGenerator::global()->bounded(30000));
    child->kill();
    EXPECT_TRUE(child->waitForFinished(5000));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const int words = int(written.count('\n')) - 5000;
    return words >= 0 && written == DictionaryVersion(words) ? words : -1;
}

} // namespace

// A word is appended by replacing the file whole, as the records are: a kill at any moment
// leaves one version whole, and 50 kills fall both before and during the writing.
TEST(CrashSafeFiles, KilledWritersLeaveAWholeVersion) {
    ASSERT_TRUE(roles);
    TestFolder folder;
    std::set<int> seen;
    for (int kill = 0; kill < 50; ++kill)
        seen.insert(KillWhileAppending(folder.Path("DATA/Lib.ENG")));
    EXPECT_FALSE(seen.contains(-1)) << "a kill left no version whole";
    EXPECT_GT(seen.size(), 1u) << "the kills all came before or after the writing";
}

// Words added by both copies at once all end up in the dictionary file.
TEST(TwoCopies, BothCopiesWordsAreKept) {
    ASSERT_TRUE(roles);
    TestFolder folder;
    folder.Write("DATA/Lib.ENG", "HOUSE\r\n");
    const QString path = folder.Path("DATA/Lib.ENG");
    const std::unique_ptr<QProcess> child = StartChildRole("add words", path);
    AddWords(path, "P");
    WaitForTheOtherCopy(child.get());

    const QList<QByteArray> lines = folder.Read("DATA/Lib.ENG").split('\n');
    QList<QByteArray> lost;
    for (const QByteArray copy : {"C", "P"})
        for (int number = 1; number <= WordsPerCopy; ++number)
            if (!lines.contains(WordOf(copy, number) + '\r'))
                lost.append(WordOf(copy, number));
    EXPECT_TRUE(lost.isEmpty()) << lost.join(' ').constData();
}

// Results written by both copies at once all end up in the records file.
TEST(TwoCopies, BothCopiesResultsAreKept) {
    TestFolder folder;
    const std::unique_ptr<QProcess> child = StartChildRole("add results", folder.Path(""));
    AddResults(folder.Program(), 2);
    WaitForTheOtherCopy(child.get());

    TWinnersTable expected;
    for (int language = 1; language <= 2; ++language)
        for (int level = 1; level <= 6; ++level)
            for (int result = 1; result <= 10; ++result)
                AddToWinners(expected, language, level, result, "Copy");
    EXPECT_EQ(folder.Read("DATA/Winners"), FormatWinners(expected));
}

// Two copies of the game on one machine change the same files at the same time: a child
// process plays the other copy, and neither copy's words or results may be lost.

#include "ChildProcess.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "settings/Records.h"

#include <gtest/gtest.h>

namespace {

constexpr int WordsPerCopy = 60;

QByteArray CopyWord(const QByteArray& copy, int number) {
    QByteArray word = copy;
    for (int rest = number; rest > 0; rest /= 26)
        word += char('A' + rest % 26);
    return word;
}

void AddWords(const QString& path, const QByteArray& copy) {
    TDictionary Words;
    Words.FileName = path;
    for (int number = 1; number <= WordsPerCopy; ++number)
        Words.AppendWord(CopyWord(copy, number));
}

// Each copy fills every list of its own language, writing the table after each result.
void AddResults(int language) {
    TRunWinners Winners;
    ReadWinners(Winners);
    for (int level = 1; level <= 6; ++level) {
        for (int result = 1; result <= 10; ++result) {
            AddToWinners(Winners, language, level, result, "Copy");
            WriteWinners(Winners);
        }
    }
}

const bool roles = RegisterChildRole("add words",
                                     [](const QString& path) {
                                         ReportChildReady();
                                         AddWords(path, "C");
                                     }) &&
                   RegisterChildRole("add results", [](const QString& programFolder) {
                       ProgramFolder::Override(programFolder);
                       ReportChildReady();
                       AddResults(1);
                   });

void WaitForTheOtherCopy(QProcess* child) {
    ASSERT_NE(child, nullptr) << "the other copy did not start";
    EXPECT_TRUE(child->waitForFinished(120000));
    EXPECT_EQ(child->exitCode(), 0);
}

} // namespace

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
            if (!lines.contains(CopyWord(copy, number) + '\r'))
                lost.append(CopyWord(copy, number));
    EXPECT_TRUE(lost.isEmpty()) << lost.join(' ').constData();
}

// Results written by both copies at once all end up in the records file.
TEST(TwoCopies, BothCopiesResultsAreKept) {
    TestFolder folder;
    const std::unique_ptr<QProcess> child = StartChildRole("add results", folder.Path(""));
    AddResults(2);
    WaitForTheOtherCopy(child.get());

    TWinnersTable expected;
    for (int language = 1; language <= 2; ++language)
        for (int level = 1; level <= 6; ++level)
            for (int result = 1; result <= 10; ++result)
                AddToWinners(expected, language, level, result, "Copy");
    EXPECT_EQ(folder.Read("DATA/Winners"), FormatWinners(expected));
}

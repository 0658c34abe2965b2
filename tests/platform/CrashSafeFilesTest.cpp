// The player's files survive a program killed while writing them: a child process writes one
// file over and over, is killed at a random moment, and the file is then one of the versions
// it wrote, whole.

#include "ChildProcess.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "settings/Records.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace {

constexpr int Kills = 50;
// A child that is never killed stops by itself.
constexpr int ChildLifeMs = 30000;

// Runs `write` with 1, 2, 3, ... until the parent kills the child.
void WriteVersions(const std::function<void(int)>& write) {
    ReportChildReady();
    QElapsedTimer clock;
    clock.start();
    for (int version = 1; clock.elapsed() < ChildLifeMs; ++version)
        write(version);
}

// The settings file: a large text section around the key that changes, as the real file
// holds all interface texts.
QByteArray SettingsText(const QByteArray& counter) {
    QByteArray text = "[English]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Text" + QByteArray::number(i) + "=Some interface text number " +
                QByteArray::number(i) + "\r\n";
    return text + "\r\n[Kordi]\r\nCounter=" + counter + "\r\nStrong=3\r\n";
}
// Versions differ in length, so a file cut short cannot pass for another version.
QByteArray CounterValue(int version) {
    return QByteArray::number(version) + ":" + QByteArray(version % 500, 'x');
}

TWinnersTable WinnersVersion(int version) {
    TWinnersTable table;
    for (int language = 1; language <= 2; ++language)
        for (int level = 1; level <= 6; ++level)
            for (int place = 0; place <= 9; ++place)
                table[language][level][place] = {"Player " + QByteArray::number(version),
                                                 version - place};
    return table;
}

QByteArray DictionaryWord(int version) {
    QByteArray word = "W";
    for (int rest = version; rest > 0; rest /= 26)
        word += char('A' + rest % 26);
    return word;
}

QByteArray DictionaryBase() {
    QByteArray base;
    for (int i = 1; i <= 5000; ++i)
        base += "B" + DictionaryWord(i) + "\r\n";
    return base;
}

void WriteSettingsVersions(const QString& path) {
    TIniFile ini(path);
    WriteVersions([&](int version) { ini.WriteString("Kordi", "Counter", CounterValue(version)); });
}

void WriteRecordsVersions(const QString& programFolder) {
    ProgramFolder::Override(programFolder);
    TRunWinners Winners;
    WriteVersions([&Winners](int version) {
        // The write puts this run's changes in the file: they make the version from nothing.
        ChangeWinners(Winners, TWinnersChange::ClearEveryList());
        for (int language = 1; language <= 2; ++language)
            for (int level = 1; level <= 6; ++level)
                for (int place = 9; place >= 0; --place)
                    AddToWinners(Winners, language, level, version - place,
                                 "Player " + QByteArray::number(version));
        WriteWinners(Winners);
    });
}

void AppendDictionaryVersions(const QString& path) {
    TDictionary Words;
    Words.FileName = path;
    WriteVersions([&Words](int version) { Words.AppendWord(DictionaryWord(version)); });
}

const bool roles = RegisterChildRole("settings", WriteSettingsVersions) &&
                   RegisterChildRole("records", WriteRecordsVersions) &&
                   RegisterChildRole("dictionary", AppendDictionaryVersions);

// The version the file holds, or -1 when it holds no version whole.
int SettingsVersion(const QByteArray& file) {
    const QByteArray counter = file.mid(file.indexOf("Counter=") + 8).split('\r').first();
    const int version = counter.split(':').first().toInt();
    return file == SettingsText(CounterValue(version)) ? version : -1;
}

int RecordsVersion(const QByteArray& file) {
    try {
        const int version = ParseWinners(file)[1][1][0].Score;
        return file == FormatWinners(WinnersVersion(version)) ? version : -1;
    } catch (const KordiError&) {
        return -1;
    }
}

int DictionaryVersion(const QByteArray& file) {
    QByteArray whole = DictionaryBase();
    for (int version = 0; whole.size() <= file.size(); whole += DictionaryWord(++version) + "\r\n")
        if (whole == file)
            return version;
    return -1;
}

struct TWrittenFile {
    QString Path;
    QByteArray FirstVersion;
    std::function<int(const QByteArray&)> VersionOf;
};

// Lays the file's first version, kills the role's child at a random moment of its writing,
// and checks that the file holds one version whole; so many times over. Gives the versions
// seen.
std::set<int> KillWhileWriting(const char* role, const QString& argument,
                               const TWrittenFile& file) {
    std::set<int> seen;
    for (int kill = 0; kill < Kills; ++kill) {
        QFile first(file.Path);
        if (!first.open(QIODevice::WriteOnly) || first.write(file.FirstVersion) < 0)
            return ADD_FAILURE() << "cannot lay " << file.Path.toStdString(), seen;
        first.close();
        const std::unique_ptr<QProcess> child = StartChildRole(role, argument);
        if (!child) {
            ADD_FAILURE() << role << ": the child did not start";
            break;
        }
        QThread::usleep(QRandomGenerator::global()->bounded(30000));
        child->kill();
        EXPECT_TRUE(child->waitForFinished(5000));
        QFile written(file.Path);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        const int version = file.VersionOf(written.readAll());
        EXPECT_GE(version, 0) << role << ": the file is no version whole after kill " << kill;
        seen.insert(version);
    }
    return seen;
}

} // namespace

// Each of the player's files is replaced whole, or a word appended whole: a kill at any moment
// leaves one version whole, and the kills fall both before and during the writing.
TEST(CrashSafeFiles, KilledWritersLeaveAWholeVersion) {
    ASSERT_TRUE(roles);
    TestFolder folder;
    const QString settings = folder.Path("Kordi2000.ini"), dictionary = folder.Path("DATA/Lib.ENG");
    const std::tuple<const char*, QString, TWrittenFile> cases[] = {
        {"settings", settings, {settings, SettingsText(CounterValue(0)), SettingsVersion}},
        {"records",
         folder.Path(""),
         {folder.Path("DATA/Winners"), FormatWinners(WinnersVersion(0)), RecordsVersion}},
        {"dictionary", dictionary, {dictionary, DictionaryBase(), DictionaryVersion}},
    };
    for (const auto& [role, argument, file] : cases)
        EXPECT_GT(KillWhileWriting(role, argument, file).size(), 1u)
            << role << ": the kills all came before or after the writing";
}

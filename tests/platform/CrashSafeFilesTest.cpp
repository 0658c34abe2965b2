// The player's files survive a program killed while writing them: a child process writes one
// file over and over, is killed at a random moment, and the file is then one of the versions
// it wrote, whole.

#include "ChildProcess.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "settings/Records.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>
#include <set>

namespace {

// Runs `write` with 1, 2, 3, ... until the parent kills the child, or 30 s have passed.
void WriteVersions(const std::function<void(int)>& write) {
    ReportChildReady();
    QElapsedTimer clock;
    clock.start();
    for (int version = 1; clock.elapsed() < 30000; ++version)
        write(version);
}

QByteArray CounterValue(int version) {
    return QByteArray::number(version) + ":" + QByteArray(version % 500, 'x');
}

// The settings file: a large text section around the key that changes, as the real file holds
// all interface texts. Versions differ in length, so a file cut short passes for none.
QByteArray SettingsText(int version) {
    QByteArray text = "[English]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Text" + QByteArray::number(i) + "=Some interface text\r\n";
    return text + "\r\n[Kordi]\r\nCounter=" + CounterValue(version) + "\r\nStrong=3\r\n";
}

// Every list holds "Player <version>" with the scores version, version - 1, ...
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
    return word + "\r\n";
}
QByteArray DictionaryBase() {
    QByteArray base;
    for (int i = 1; i <= 5000; ++i)
        base += "B" + DictionaryWord(i);
    return base;
}

void WriteSettings(const QString& path) {
    TIniFile ini(path);
    WriteVersions([&](int version) { ini.WriteString("Kordi", "Counter", CounterValue(version)); });
}
void WriteRecords(const QString& programFolder) {
    ProgramFolder::Override(programFolder);
    WriteVersions([](int version) {
        // The write replays this run's changes on the file: they make the version.
        ChangeWinners(TWinnersChange::ClearEveryList());
        for (int language = 1; language <= 2; ++language)
            for (int level = 1; level <= 6; ++level)
                for (int place = 9; place >= 0; --place)
                    AddToWinners(Winners, language, level, version - place,
                                 "Player " + QByteArray::number(version));
        WriteWinners();
    });
}
void AppendWords(const QString& path) {
    Words.FileName = path;
    WriteVersions([](int version) { Words.AppendWord(DictionaryWord(version).chopped(2)); });
}
const bool roles = RegisterChildRole("settings", WriteSettings) &&
                   RegisterChildRole("records", WriteRecords) &&
                   RegisterChildRole("dictionary", AppendWords);

// The version the file holds, or -1 when it holds no version whole.
int SettingsVersion(const QByteArray& file) {
    const int version = file.mid(file.indexOf("Counter=") + 8).split(':').first().toInt();
    return file == SettingsText(version) ? version : -1;
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
    for (int version = 0; whole.size() <= file.size(); whole += DictionaryWord(++version))
        if (whole == file)
            return version;
    return -1;
}

struct TWrittenFile {
    const char* Role;
    QString Argument;
    QString Path;
    QByteArray FirstVersion;
    std::function<int(const QByteArray&)> VersionOf;
};

// Lays the file's first version, kills the role's child at a random moment of its writing,
// and checks that the file holds one version whole; 50 times over. Gives the versions seen.
std::set<int> KillWhileWriting(const TWrittenFile& file) {
    std::set<int> seen;
    for (int kill = 0; kill < 50; ++kill) {
        QFile first(file.Path);
        if (!first.open(QIODevice::WriteOnly) || first.write(file.FirstVersion) < 0)
            return ADD_FAILURE() << "cannot lay " << file.Path.toStdString(), seen;
        first.close();
        const std::unique_ptr<QProcess> child = StartChildRole(file.Role, file.Argument);
        if (!child)
            return ADD_FAILURE() << file.Role << ": the child did not start", seen;
        QThread::usleep(QRandomGenerator::global()->bounded(30000));
        child->kill();
        EXPECT_TRUE(child->waitForFinished(5000));
        QFile written(file.Path);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        const int version = file.VersionOf(written.readAll());
        EXPECT_GE(version, 0) << file.Role << ": no version whole after kill " << kill;
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
    const TWrittenFile files[] = {
        {"settings", settings, settings, SettingsText(0), SettingsVersion},
        {"records", folder.Path(""), folder.Path("DATA/Winners"), FormatWinners(WinnersVersion(0)),
         RecordsVersion},
        {"dictionary", dictionary, dictionary, DictionaryBase(), DictionaryVersion},
    };
    for (const TWrittenFile& file : files)
        EXPECT_GT(KillWhileWriting(file).size(), 1u)
            << file.Role << ": the kills all came before or after the writing";
}

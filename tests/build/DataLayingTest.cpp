#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Lay(const QString& source, const QString& target) {
    const int status = QProcess::execute(
        KORDI_CMAKE_COMMAND, {"-DSRC=" + source, "-DDST=" + target, "-P",
                              KORDI_SOURCE_DIR "/cmake/LayData.cmake"});
    ASSERT_EQ(status, 0);
}

} // namespace

// A rebuild refreshes shipped files but never overwrites what the player's program wrote.
TEST(DataLaying, KeepsPlayerFilesAndRefreshesTheRest) {
    QTemporaryDir source, target;
    const QStringList playerFiles = {"DATA/Lib.RUS", "DATA/Lib.ENG", "DATA/Winners",
                                     "Kordi2000.ini"};
    for (const QString& file : playerFiles)
        WriteFile(source.filePath(file), "shipped");
    WriteFile(source.filePath("Help/English.htm"), "help v1");

    Lay(source.path(), target.path());
    for (const QString& file : playerFiles)
        EXPECT_EQ(ReadFile(target.filePath(file)), "shipped") << file.toStdString();

    for (const QString& file : playerFiles)
        WriteFile(target.filePath(file), "player's own");
    WriteFile(source.filePath("Help/English.htm"), "help v2");
    Lay(source.path(), target.path());

    for (const QString& file : playerFiles)
        EXPECT_EQ(ReadFile(target.filePath(file)), "player's own") << file.toStdString();
    EXPECT_EQ(ReadFile(target.filePath("Help/English.htm")), "help v2");
}

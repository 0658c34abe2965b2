#include "TestFolder.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

void Lay(const QString& source, const QString& target) {
    const int status =
        QProcess::execute(KORDI_CMAKE_COMMAND, {"-DSRC=" + source, "-DDST=" + target, "-P",
                                                KORDI_SOURCE_DIR "/cmake/LayData.cmake"});
    ASSERT_EQ(status, 0);
}

} // namespace

// A rebuild refreshes shipped files but never overwrites what the player's program wrote.
TEST(DataLaying, KeepsPlayerFilesAndRefreshesTheRest) {
    const TestFolder source, target;
    const QStringList playerFiles = {"DATA/Lib.RUS", "DATA/Lib.ENG", "DATA/Winners",
                                     "Kordi2000.ini"};
    for (const QString& file : playerFiles)
        source.Write(file, "shipped");
    source.Write("Help/English.htm", "help v1");

    Lay(source.Path("."), target.Path("."));
    for (const QString& file : playerFiles)
        EXPECT_EQ(target.Read(file), "shipped") << file.toStdString();

    for (const QString& file : playerFiles)
        target.Write(file, "player's own");
    source.Write("Help/English.htm", "help v2");
    Lay(source.Path("."), target.Path("."));

    for (const QString& file : playerFiles)
        EXPECT_EQ(target.Read(file), "player's own") << file.toStdString();
    EXPECT_EQ(target.Read("Help/English.htm"), "help v2");
}

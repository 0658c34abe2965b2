#include "ErrorText.h"
#include "TestFolder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An installed program's data in a test folder, and the player's data folder in another.
class PlayerFilesTest : public ::testing::Test {
protected:
    PlayerFilesTest() {
        installed_.Write("Kordi2000.ini", "[Kordi]\r\nStrong=3\r\n");
        ProgramFolder::Override(installed_.Path("."), true);
        qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    }
    ~PlayerFilesTest() override { qunsetenv("XDG_DATA_HOME"); }

    QString Own(const QString& relative) const { return home_.filePath("kordi2000/" + relative); }

    TestFolder installed_;
    QTemporaryDir home_;
};

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

// The first need of a shipped file copies it for the player, writable even from a read-only
// original; from then on the player's copy is the file, and the original stays as shipped.
// A file without an original (the records) finds its folder ready and nothing in its place.
TEST_F(PlayerFilesTest, InstalledFileIsCopiedOnceAndThenThePlayersOwn) {
    QFile::setPermissions(installed_.Path("Kordi2000.ini"), QFile::ReadOwner);
    EXPECT_EQ(ProgramFolder::PlayerFile("Kordi2000.ini"), Own("Kordi2000.ini"));
    EXPECT_EQ(Content(Own("Kordi2000.ini")), "[Kordi]\r\nStrong=3\r\n");
    QFile own(Own("Kordi2000.ini"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly)); // writable
    own.write("[Kordi]\r\nStrong=5\r\n");
    own.close();
    EXPECT_EQ(Content(ProgramFolder::PlayerFile("Kordi2000.ini")), "[Kordi]\r\nStrong=5\r\n");
    EXPECT_EQ(installed_.Read("Kordi2000.ini"), "[Kordi]\r\nStrong=3\r\n");

    EXPECT_EQ(ProgramFolder::PlayerFile("DATA/Winners"), Own("DATA/Winners"));
    EXPECT_TRUE(QFileInfo(Own("DATA")).isDir());
    EXPECT_FALSE(QFile::exists(Own("DATA/Winners")));
}

// A player's folder that cannot be made is an error naming it, not a silent write elsewhere.
TEST_F(PlayerFilesTest, UnmakeablePlayersFolderIsAnError) {
    installed_.Write("NotAFolder", "x");
    qputenv("XDG_DATA_HOME", installed_.Path("NotAFolder").toUtf8());
    EXPECT_TRUE(ErrorText<IoError>([] {
                    ProgramFolder::PlayerFile("Kordi2000.ini");
                }).contains(installed_.Path("NotAFolder")));
}

// A program run from its own writable folder (the build folder) keeps every file there.
TEST(PlayerFiles, WritableProgramFolderKeepsThePlayersFiles) {
    TestFolder folder;
    EXPECT_EQ(ProgramFolder::PlayerFile("DATA/Lib.ENG"), folder.Path("DATA/Lib.ENG"));
}

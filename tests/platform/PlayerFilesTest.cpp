// Where the player's files go; the installed game's copy of its shipped files into the
// player's data folder is run for real by the read-only install test.

#include "ErrorText.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

// A player's folder that cannot be made is an error naming it, not a silent write elsewhere.
TEST(PlayerFiles, UnmakeablePlayersFolderIsAnError) {
    TestFolder installed;
    installed.Write("Kordi2000.ini", "[Kordi]\r\n");
    installed.Write("NotAFolder", "x");
    qputenv("XDG_DATA_HOME", installed.Path("NotAFolder").toUtf8());
    EXPECT_TRUE(ErrorText<IoError>([&installed] {
                    installed.Program(true).PlayerFile("Kordi2000.ini");
                }).contains(installed.Path("NotAFolder")));
    qunsetenv("XDG_DATA_HOME");
}

// A program run from its own writable folder (the build folder) keeps every file there.
TEST(PlayerFiles, WritableProgramFolderKeepsThePlayersFiles) {
    TestFolder folder;
    EXPECT_EQ(folder.Program().PlayerFile("DATA/Lib.ENG"), folder.Path("DATA/Lib.ENG"));
}

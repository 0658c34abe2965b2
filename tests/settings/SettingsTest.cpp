#include "TestRun.h"
#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace {

// The shipped data in a throw-away folder; each test prepares the settings file and then
// starts the main window, whose creation loads the settings.
class SettingsTest : public ::testing::Test, protected TestRun {
protected:
    SettingsTest() { folder.LayShippedData(); }

    TMainWindow& Start() {
        window = std::make_unique<TMainWindow>(look, data);
        return *window;
    }
    QByteArray Setting(const char* section, const char* key) const {
        return SettingsFile->ReadString(section, key, "(none)");
    }

    TSettingsFile* const SettingsFile = &data.Settings;
    TDictionary& Words = data.Words;
    TNetPlayFields& NetPlayFields = data.NetPlay;
    std::unique_ptr<TMainWindow> window;
};

// Without a settings file every value has its default, and the save at closing creates the
// file with every settings key, the network keys included.
TEST_F(SettingsTest, NoFileGivesEveryDefault) {
    QFile::remove(folder.Path("Kordi2000.ini"));
    // Values left from before, so that only the load can bring the defaults.
    std::tie(NetPlayFields, look.Skins.UseSkins, look.Skins.SkinName, look.Skins.ImageNames[3]) =
        std::tuple(TNetPlayFields{4000, "far", "Ann", false}, false, "Old", "wood.jpg");
    look.Faces.Tint = Qt::red;

    TMainWindow& main = Start();
    EXPECT_EQ(Words.FirstLetter, 192);
    EXPECT_EQ(main.Game->Strength(), 8); // the missing key's 16 brought to the top level, 6
    EXPECT_EQ(look.Faces.Tint, QColor(255, 255, 255));
    EXPECT_EQ(main.Menu_Game->title(), "?");

    // The save writes what was loaded, so the file shows every other default.
    main.close();
    QByteArray expected = "[Kordi]\r\nSound=1\r\nLanguageNumber=1\r\nStrong=6\r\n[Images]\r\n";
    for (int slot = 0; slot <= 8; ++slot)
        expected += "Image" + QByteArray::number(slot) + "=\r\n";
    expected += "UseSkins=1\r\nSkinName=\r\n[NetPlay]\r\nPort=0\r\nHostName=localhost\r\n"
                "Name=X\r\nAutoPopUpChat=1\r\n";
    EXPECT_EQ(folder.Read("Kordi2000.ini"), expected);
}

// Values the program never writes are read as usable values and written back in its own
// form: only "1" is on, a texture entry loses its folder, numbers come back into range, and
// the face tint, the player's to edit, is never written.
TEST_F(SettingsTest, ForeignValuesAreReadSafelyAndWrittenBackClean) {
    folder.Write("Kordi2000.ini", "[Kordi]\r\nLanguageNumber=7\r\nStrong=0\r\nSound=yes\r\n"
                                  "[Images]\r\nImage2=C:\\pics\\wood.jpg\r\nUseSkins=01\r\n"
                                  "CPU_Face_r=300\r\nCPU_Face_g=-5\r\nCPU_Face_b=red\r\n"
                                  "[NetPlay]\r\nPort=99999\r\nAutoPopUpChat=yes\r\n");
    folder.Write("Textures/wood.jpg", folder.Read("Textures/Maple.jpg")); // a texture that exists
    EXPECT_EQ(Start().Game->Strength(), 3);
    EXPECT_EQ(look.Skins.ImageNames[2], "C:\\pics\\wood.jpg");
    EXPECT_EQ(look.Faces.Tint, QColor(255, 0, 255));

    window->SaveSettings(); // writes what was loaded
    EXPECT_EQ(Setting("Kordi", "LanguageNumber"), "1");
    EXPECT_EQ(Setting("Kordi", "Strong"), "1");
    EXPECT_EQ(Setting("Kordi", "Sound"), "0");
    EXPECT_EQ(Setting("Images", "Image2"), "wood.jpg");
    EXPECT_EQ(Setting("Images", "UseSkins"), "0");
    EXPECT_EQ(Setting("NetPlay", "Port"), "0");
    EXPECT_EQ(Setting("NetPlay", "AutoPopUpChat"), "0");
    EXPECT_EQ(Setting("Images", "CPU_Face_r"), "300");
}

// A save changes only the values of the settings keys: comments, order, line ends and the two
// language sections stay byte for byte; English read from the file is written back as 2.
TEST_F(SettingsTest, SaveKeepsTheRestOfTheFileByteForByte) {
    QByteArray shipped = folder.Read("Kordi2000.ini");
    ASSERT_TRUE(shipped.contains("LanguageNumber=1\r\n") && shipped.contains("Sound=1\r\n"));
    shipped.replace("LanguageNumber=1\r\n", "LanguageNumber=2\r\n");
    folder.Write("Kordi2000.ini", shipped);

    TMainWindow& main = Start();
    EXPECT_TRUE(main.Menu_English->isChecked());
    EXPECT_EQ(main.Menu_Game->title(), "Game");
    main.Menu_Sound->trigger();
    NetPlayFields.Name = "Ann";
    window->SaveSettings();

    QByteArray expected = shipped;
    expected.replace("Sound=1\r\n", "Sound=0\r\n").replace("Name=X\r\n", "Name=Ann\r\n");
    EXPECT_EQ(folder.Read("Kordi2000.ini"), expected);
}

// Player and host names typed with characters the code page lacks, or with control bytes, reach
// the file as "?" on one line.
TEST_F(SettingsTest, NamesCarryNoControlByteIntoTheFile) {
    Start();
    NetPlayFields.Name = CodePage::FromUnicode(u"Müller\x1b\tJr");
    NetPlayFields.HostName = CodePage::FromUnicode(u"José\r\nhost");
    window->SaveSettings();
    const QByteArray file = folder.Read("Kordi2000.ini");
    EXPECT_TRUE(file.contains("\r\nName=M?ller? Jr\r\n"));
    EXPECT_TRUE(file.contains("\r\nHostName=Jos?  host\r\n"));
}

} // namespace

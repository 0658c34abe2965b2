#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "settings/RunData.h"

#include <gtest/gtest.h>

namespace {

// Every key the program asks for.
const QByteArrayList TextKeys =
    QByteArray("Menu_Game Menu_NewGame Menu_Records Menu_Exit Menu_Options Menu_Chooselanguage "
               "Menu_Russian Menu_English Menu_CPU Menu_Textures Menu_Sound Menu_NetPlay "
               "Menu_Connect Menu_DisConnect Menu_Chat Menu_Help Menu_Help1 Menu_About "
               "Menu_Visit Menu_tekomiro1 Menu_InternetChat Menu_CreateShortcut Title Wait "
               "SkipButton AdviceButton CPU_Label1 CPU_Label2 Net_SessionsList Net_SessionName "
               "Net_PlayerName Net_Join Net_Host Cancel Go Chat_Send AutoPopUpChat Yes No "
               "AddWord1 AddWord2 Sure WinnersButton1 WinnersButton2 GameOver Anonimous "
               "AddRating1 AddRating2 AddRating3 UseSkins Net_SkipMove Net_Advice Net_Winner "
               "Net_Loser Net_Equal Net_in Net_out Net_HostFailed Net_Refused NewVersion "
               "Menu_Review ReviewColumns ReviewLeft ReviewSave")
        .split(' ');

class TextsTest : public ::testing::Test {
protected:
    void UseLanguage(const QString& name) { data_.Words.LanguageName = name; }
    QByteArray GetText(QByteArrayView key) const { return data_.Texts.GetText(key); }
    QString GetTextU(QByteArrayView key) const { return data_.Texts.GetTextU(key); }

    TestFolder folder_;
    TRunData data_{folder_.Program()};
};

// Both text sections of the shipped file hold every key the program asks for.
TEST_F(TextsTest, ShippedFileHoldsEveryText) {
    folder_.LayShippedData();
    for (const QString language : {"Russian", "English"}) {
        UseLanguage(language);
        for (const QByteArray& key : TextKeys)
            EXPECT_NE(GetText(key), "?") << language.toStdString() << " " << key.toStdString();
    }
    EXPECT_EQ(GetTextU("Yes"), "Yes");
    UseLanguage("Russian");
    EXPECT_EQ(GetTextU("Yes"), u"Да"_qs); // read in the code page
}

// A missing key, section or file shows "?" and nothing fails.
TEST_F(TextsTest, MissingTextsReadAsQuestionMark) {
    EXPECT_EQ(GetText("Title"), "?");
    folder_.Write("Kordi2000.ini", "[English]\r\nTitle=Kordi 2000\r\n");
    EXPECT_EQ(GetText("Title"), "?");
    UseLanguage("English");
    EXPECT_EQ(GetText("Title"), "Kordi 2000");
    EXPECT_EQ(GetText("NoSuchKey"), "?");
}

// The installed game's copy of the settings, made by an older version, lacks the newer
// texts: they come from the shipped file, and the player's own texts still win.
TEST(TextsOfAnOlderCopy, NewTextsComeFromTheShippedFile) {
    TestFolder installed, home;
    installed.Write("Kordi2000.ini", "[English]\r\nTitle=Kordi 2000\r\nNet_Refused=Refused\r\n");
    home.Write("kordi2000/Kordi2000.ini", "[English]\r\nTitle=My Kordi\r\n");
    qputenv("XDG_DATA_HOME", home.Path(".").toUtf8());
    TRunData data(installed.Program(true));
    data.Words.LanguageName = "English";
    EXPECT_EQ(data.Texts.GetText("Title"), "My Kordi");
    EXPECT_EQ(data.Texts.GetText("Net_Refused"), "Refused");
    EXPECT_EQ(data.Texts.GetText("NoSuchKey"), "?");
    qunsetenv("XDG_DATA_HOME");
}

// Numbers fill only "%d" placeholders: a text from the file is never a printf format.
TEST(FillNumbers, FillsOnlyNumberPlaceholders) {
    EXPECT_EQ(FillNumbers("Version %d.%d%d", {2, 0, 2}), "Version 2.02");
    EXPECT_EQ(FillNumbers("%s %n %d%%", {5}), "%s %n 5%");
    EXPECT_EQ(FillNumbers("%d and %d", {1}), "1 and %d");
}

} // namespace

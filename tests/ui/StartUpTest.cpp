#include "ErrorText.h"
#include "FileSizeLimit.h"
#include "MessageRecorder.h"
#include "WindowFixture.h"
#include "app/KordiApp.h"
#include "dictionary/Dictionary.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/QuestionWindow.h"
#include "ui/StrengthWindow.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSlider>
#include <QTest>
#include <algorithm>

namespace {

using StartUp = GameFixture;

auto VisibleLetters(const TMainWindow& window) {
    return std::ranges::count_if(window.LetterButtons,
                                 [](auto* button) { return !button->isHidden(); });
}

} // namespace

// Both language items show their word count from start-up on. The checked language does
// nothing; the other starts a new game in its alphabet with no letter chosen, its texts read
// after the file holds its number; the network's tag + 10 switches without a new game.
TEST_F(StartUp, LanguageSwitch) {
    EXPECT_EQ(Main().Menu_English->text(), "English 3");
    EXPECT_EQ(Main().Menu_Russian->text(), "Russian " + QString::number(Words.WordCount[1]));
    PickLetter('H');
    const quint32 game = Game().GameNumber();
    const QByteArray settings = folder.Read("Kordi2000.ini");
    Main().Menu_English->trigger();
    EXPECT_EQ(Game().GameNumber(), game);
    EXPECT_EQ(Game().ChosenLetter(), "H");
    EXPECT_EQ(folder.Read("Kordi2000.ini"), settings);

    Main().Menu_Russian->trigger();
    EXPECT_EQ(Game().GameNumber(), game + 1);
    EXPECT_TRUE(Game().ChosenLetter().isEmpty());
    EXPECT_NE(Main().LetterButtons[8]->FontColor(), QColor(0, 0, 255));
    EXPECT_EQ(VisibleLetters(Main()), 32);
    EXPECT_EQ(Main().LetterButtons[32]->Caption(), QString::fromUtf8("Я"));
    EXPECT_EQ(SettingsFile->ReadString("Kordi", "LanguageNumber", ""), "1");
    EXPECT_EQ(Main().Menu_English->text(), QString::fromUtf8("Английский 3"));
    EXPECT_FALSE(Main().Menu_English->isChecked());

    Main().Menu_Russian->setData(11);
    Main().Menu_English->setData(12);
    Main().Menu_RussianClick(Main().Menu_English);
    EXPECT_EQ(Game().GameNumber(), game + 1);
    EXPECT_EQ(VisibleLetters(Main()), 26);
    EXPECT_EQ(Main().Menu_Game->title(), "Game");
}

// A language whose dictionary cannot be read is not switched to at all: the settings file,
// the game, the letters and the checked item stay as they were.
TEST_F(StartUp, LanguageSwitchWithoutItsDictionary) {
    QFile::remove(folder.Path("DATA/Lib.RUS"));
    const QByteArray settings = folder.Read("Kordi2000.ini");
    const quint32 game = Game().GameNumber();
    EXPECT_TRUE(ErrorText<IoError>([this] {
                    Main().Menu_RussianClick(Main().Menu_Russian);
                }).contains("Lib.RUS"));
    EXPECT_EQ(Words.Language, 2);
    EXPECT_EQ(Words.FirstLetter, 'A');
    EXPECT_TRUE(Words.FindWord("HOUSE", 5));
    EXPECT_TRUE(Main().Menu_English->isChecked());
    EXPECT_EQ(Game().GameNumber(), game);
    EXPECT_EQ(VisibleLetters(Main()), 26);
    EXPECT_EQ(folder.Read("Kordi2000.ini"), settings);
}

// A settings file that cannot be written: the language switch is refused whole and the game
// goes on; closing shows the error and still closes; the old file stays as it was.
TEST_F(StartUp, UnwritableSettingsFileIsReportedAndKeptWhole) {
    const QByteArray settings = folder.Read("Kordi2000.ini");
    const QString failure = "Unable to write to " + SettingsFile->FileName();
    const quint32 game = Game().GameNumber();
    FileSizeLimit fullDisk(settings.size() / 2);
    EXPECT_EQ(ErrorText<IoError>([this] { Main().Menu_RussianClick(Main().Menu_Russian); }),
              failure);
    EXPECT_EQ(Words.Language, 2);
    EXPECT_TRUE(Main().Menu_English->isChecked());
    EXPECT_EQ(Game().GameNumber(), game);
    EXPECT_EQ(VisibleLetters(Main()), 26);

    MessageRecorder messages;
    Main().close();
    EXPECT_EQ(messages.Shown, QStringList{failure});
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(Game().Phase(), TPhase::Over);
    EXPECT_EQ(folder.Read("Kordi2000.ini"), settings);
}

// Closing the strength window without a change keeps the game; a new strength starts anew.
TEST_F(StartUp, StrengthWindowStartsANewGameOnlyOnChange) {
    const quint32 game = Game().GameNumber();
    Main().Menu_CPU->trigger();
    ASSERT_TRUE(StrengthWindow->isVisible());
    StrengthWindow->close();
    EXPECT_EQ(Game().GameNumber(), game);
    EXPECT_EQ(Game().Strength(), 8);

    Main().Menu_CPU->trigger();
    StrengthWindow->StrengthBar->setValue(4);
    QTest::mouseClick(StrengthWindow->OkButton, Qt::LeftButton);
    EXPECT_EQ(Game().GameNumber(), game + 1);
    EXPECT_EQ(Game().Strength(), 4);
}

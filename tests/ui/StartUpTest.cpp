#include "app/StartUp.h"
#include "ErrorText.h"
#include "FileSizeLimit.h"
#include "MessageRecorder.h"
#include "WindowFixture.h"
#include "app/KordiApp.h"
#include "dictionary/Dictionary.h"
#include "net/WebAddresses.h"
#include "platform/LinkButton.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/QuestionWindow.h"
#include "ui/StrengthWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <numeric>

namespace {

using StartUp = GameFixture;

auto VisibleLetters(const TMainWindow& window) {
    return std::ranges::count_if(window.LetterButtons,
                                 [](auto* button) { return !button->isHidden(); });
}

} // namespace

// The bar runs through every position once and ends at 20: the main window's creation takes
// exactly ten steps, so each window of the table is created at its own position.
TEST(SplashStartUp, BarReachesTwentyWithEveryWindowCreated) {
    TestFolder folder;
    folder.LayShippedData();
    QList<int> steps;
    std::map<int, std::pair<int, int>> created; // position -> bar before and after
    auto kordi = std::make_unique<TKordiApp>();
    TWindowTable table = StartUpWindows(*kordi);
    const TStartUp* running = nullptr;
    const auto bar = [&running] { return running->Splash()->ProgressBar; };
    for (auto& [position, create] : table)
        create = [position, make = create, &created, bar](const auto& progress) {
            const int before = bar()->value();
            make(progress);
            created[position] = {before, bar()->value()};
        };
    table[0] = [&steps, bar](const auto&) {
        QObject::connect(bar(), &QProgressBar::valueChanged,
                         [&steps](int value) { steps.append(value); });
    };

    TStartUp startUp(*kordi, table);
    running = &startUp;
    bool finished = false;
    QObject::connect(&startUp, &TStartUp::Finished, [&finished] { finished = true; });
    startUp.Start();
    ASSERT_TRUE(QTest::qWaitFor([&finished] { return finished; }, 10000));

    QList<int> everyStep(20);
    std::iota(everyStep.begin(), everyStep.end(), 1);
    EXPECT_EQ(steps, everyStep);
    for (const auto& [position, bar] : created)
        EXPECT_EQ(bar, std::pair(position, position == 1 ? 11 : position));
    EXPECT_EQ(created.size(), StartUpWindows(*kordi).size());
    EXPECT_EQ(startUp.Splash(), nullptr);
    const TMainWindow* main = kordi->MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->SetCPUWindow->parent(), main);
    EXPECT_EQ(main->ChoiceWindow->parent(), main);
    kordi.reset();

    // The splash leaves by sliding down in growing steps until its top is below the screen.
    TSplashWindow splash;
    splash.show();
    QList<int> tops{splash.y()};
    while (!splash.SlideStep() && tops.size() < 1000)
        tops.append(splash.y());
    tops.append(splash.y());
    EXPECT_GT(tops.last(), splash.screen()->geometry().bottom());
    EXPECT_EQ(tops[1] - tops[0], 24);
    EXPECT_EQ(tops[2] - tops[1], 40);
}

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
    ASSERT_TRUE(strengthWindow->isVisible());
    strengthWindow->close();
    EXPECT_EQ(Game().GameNumber(), game);
    EXPECT_EQ(Game().Strength(), 8);

    Main().Menu_CPU->trigger();
    strengthWindow->StrongBar->setValue(4);
    QTest::mouseClick(strengthWindow->CoolOKButton, Qt::LeftButton);
    EXPECT_EQ(Game().GameNumber(), game + 1);
    EXPECT_EQ(Game().Strength(), 4);
}

// The link opens the home page when released over it; a press dragged off lets go and opens
// nothing, even when released back over it. The network icon follows the network state.
TEST_F(StartUp, CaptionDecoration) {
    TLinkButton* link = Main().LinkButton;
    QList<QUrl> opened;
    link->OpenLink = [&opened](const QUrl& url) { opened.append(url); };
    const QPoint inside = link->rect().center();
    QTest::mousePress(link, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(link->IsPressed());
    QTest::mouseRelease(link, Qt::LeftButton, {}, inside);
    EXPECT_EQ(opened, QList<QUrl>{QUrl(WebAddresses::HomePage)});
    QTest::mousePress(link, Qt::LeftButton, {}, inside);
    QTest::mouseMove(link, inside + QPoint(link->width(), 0));
    EXPECT_FALSE(link->IsPressed());
    QTest::mouseMove(link, inside);
    QTest::mouseRelease(link, Qt::LeftButton, {}, inside);
    EXPECT_EQ(opened.size(), 1);

    Main().NetGame->SetNetState(2);
    const QImage shown = Main().NetStateIcon->pixmap().toImage();
    Main().NetGame->SetNetState(0);
    EXPECT_EQ(shown, QPixmap(":/resources/net/NET2.png").toImage());
}

#include "WindowFixture.h"

#include "dictionary/Dictionary.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/QuestionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"
#include "ui/StrengthWindow.h"

#include <QTest>

GameFixture::GameFixture(const QByteArray& words) {
    folder.LayShippedData();
    folder.Write("DATA/Lib.ENG", words);
    SettingsFile->WriteString("Kordi", "LanguageNumber", "2");
    SettingsFile->WriteString("Kordi", "Strong", "6");
    window = std::make_unique<TMainWindow>(look, data);
    window->Game->SetTickMs(1);
    window->CreateStrengthWindow();
    window->CreateQuestionWindow();
    window->CreateRecordsWindow();
    window->CreateResultWindow();
    StrengthWindow = window->StrengthWindow;
    QuestionWindow = window->QuestionWindow;
    RecordsWindow = window->RecordsWindow;
    ResultWindow = window->ResultWindow;
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

TWinnerList& GameFixture::CurrentWinners() {
    return ::CurrentWinners(Winners, Game());
}

int GameFixture::CurrentLevel() {
    return ::CurrentLevel(Game());
}

bool GameFixture::Settled() {
    return QTest::qWaitFor([this] { return !Game().Busy(); }, 5000);
}

void GameFixture::PickLetter(char letter) {
    TTexturedButton* button = window->LetterButtons[letter - 'A' + 1];
    QTest::mouseClick(button, Qt::LeftButton);
}

void GameFixture::MoveTo(int col, int row) {
    QTest::mouseMove(&Cell(col, row));
}

void GameFixture::ClickCell(int col, int row) {
    MoveTo(col, row);
    QTest::mouseClick(&Cell(col, row), Qt::LeftButton);
}

void GameFixture::RightClick(int col, int row) {
    MoveTo(col, row);
    QTest::mouseClick(&Cell(col, row), Qt::RightButton);
}

void GameFixture::PlayWord(char letter, int col, int row,
                           std::initializer_list<std::pair<int, int>> trace) {
    PickLetter(letter);
    ClickCell(col, row);
    for (auto [c, r] : trace)
        ClickCell(c, r);
    ClickCell(std::data(trace)[trace.size() - 1].first, std::data(trace)[trace.size() - 1].second);
}

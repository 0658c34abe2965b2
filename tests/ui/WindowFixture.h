#pragma once
// A main window with all the windows it shows, in a throw-away program folder, with a small
// English dictionary whose only five-letter word is HOUSE, so every game starts with HOUSE
// in row 3, its clock sped up; and helpers that play it with the mouse as a person would.

#include "TestRun.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QByteArray>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class TStrengthWindow;
class TQuestionWindow;
class TRecordsWindow;
class TResultWindow;

class GameFixture : public ::testing::Test, protected TestRun {
protected:
    explicit GameFixture(const QByteArray& words = "HOUSE\r\nAH\r\nSHE\r\n");

    TMainWindow& Main() { return *window; }
    TGame& Game() { return *window->Game; }
    TBoardCell& Cell(int col, int row) { return *window->Cells[col][row]; }
    const TCell& State(int col, int row) { return window->Game->Board().At({col, row}); }
    // Waits until the game runs no step and asks no question.
    bool Settled();

    void PickLetter(char letter);
    void MoveTo(int col, int row);
    void ClickCell(int col, int row);
    void RightClick(int col, int row);
    // Places `letter` at the cell and traces the given cells, then clicks the last one again.
    void PlayWord(char letter, int col, int row, std::initializer_list<std::pair<int, int>> trace);
    QString Caption(int col, int row) { return Cell(col, row).Caption(); }
    // The records list of the game's language and strength.
    TWinnerList& CurrentWinners();
    int CurrentLevel();
    // The texts and the language switch of the run's data.
    QByteArray GetText(QByteArrayView key) const { return data.Texts.GetText(key); }
    QString GetTextU(QByteArrayView key) const { return data.Texts.GetTextU(key); }
    void UseLanguage(quint16 language) { ::UseLanguage(data.Words, language); }

    // The parts of the run's data, by the names the tests know them.
    TSettingsFile* const SettingsFile = &data.Settings;
    TDictionary& Words = data.Words;
    TRunWinners& Winners = data.Winners;
    std::unique_ptr<TMainWindow> window;
    // The main window's other windows, by its names for them.
    TStrengthWindow* StrengthWindow;
    TQuestionWindow* QuestionWindow;
    TRecordsWindow* RecordsWindow;
    TResultWindow* ResultWindow;
};

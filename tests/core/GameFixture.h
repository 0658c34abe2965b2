#pragma once
// A main window in a throw-away program folder, with a small English dictionary whose only
// five-letter word is HOUSE, so every game starts with HOUSE in row 3, and helpers that
// play it with the mouse as a person would.

#include "TestFolder.h"
#include "core/MainUnit.h"

#include <QByteArray>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class TSetCPUWindow;
class TChoiceWindow;

class GameFixture : public ::testing::Test {
protected:
    explicit GameFixture(const QByteArray& words = "HOUSE\r\nAH\r\nSHE\r\n");
    ~GameFixture() override;

    TMainWindow& Main() { return *window; }
    Tpole& Cell(int col, int row) { return *window->Cells[col][row]; }

    void PickLetter(char letter);
    void MoveTo(int col, int row);
    void ClickCell(int col, int row);
    void RightClick(int col, int row);
    // Places `letter` at the cell and traces the given cells, then clicks the last one again.
    void PlayWord(char letter, int col, int row, std::initializer_list<std::pair<int, int>> trace);
    // Answers the next modal window with the button `pick` finds on it.
    static void AnswerModal(std::function<QWidget*(QWidget*)> pick);
    QString Caption(int col, int row) { return Cell(col, row).Caption(); }

    TestFolder folder;
    std::unique_ptr<TMainWindow> window;
    TSetCPUWindow* strengthWindow;
    TChoiceWindow* questionWindow;
};

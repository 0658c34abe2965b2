#pragma once
// A game on a small English dictionary whose only five-letter word is HOUSE, so every game
// starts with HOUSE in row 3, with its clock sped up and its sounds recorded.

#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "game/Game.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

class TFakeEffects : public IGameEffects {
public:
    void Play(TSound sound) override { Played.push_back(sound); }
    int PlayWaited(TSound sound) override {
        Waited.push_back(sound);
        return WaitedMs;
    }
    std::vector<TSound> Played;
    std::vector<TSound> Waited;
    int WaitedMs = 5;
};

class GameTest : public ::testing::Test {
protected:
    explicit GameTest(const QByteArray& words = "HOUSE\r\nAH\r\nSHE\r\n") {
        folder.Write("DATA/Lib.ENG", words);
        dictionary.Language = 2;
        dictionary.LanguageName = "English";
        dictionary.FirstLetter = 'A';
        dictionary.LoadWords(folder.Program());
        game.SetTickMs(1);
        game.StartGame(true);
    }

    // Places the letter and traces the cells, then clicks the last one again to submit.
    void PlayWord(char letter, TCellPos at, std::initializer_list<TCellPos> trace) {
        game.PickLetter(QByteArray(1, letter));
        game.ClickCell(at);
        for (TCellPos pos : trace)
            game.ClickCell(pos);
        game.ClickCell(std::data(trace)[trace.size() - 1]);
    }
    bool Settled() {
        return QTest::qWaitFor([this] { return !game.Busy(); }, 5000);
    }
    QByteArray Letter(int col, int row) const { return game.Board().At({col, row}).Letter; }
    const TCell& Cell(int col, int row) const { return game.Board().At({col, row}); }

    TestFolder folder;
    TDictionary dictionary;
    TFakeEffects effects;
    TGame game{dictionary, effects};
};

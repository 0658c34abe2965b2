#pragma once
// The main window: it owns the board, the letter buttons, the word lists and the game state.

#include "core/PoleUnit.h"

#include <QMainWindow>

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The outer size of the window frame that the layout rules are measured against.
    static constexpr int FormWidth = 588;
    static constexpr int FormHeight = 456;
    static constexpr int ClientWidth = 580;
    static constexpr int ClientHeight = 410;

    explicit TMainWindow(QWidget* parent = nullptr);

    TCells Cells;

    void StartGame(bool local, const QByteArray& startWord = {});

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray RandomStartWord() const;

    QWidget* client_;
};

extern TMainWindow* MainWindow;

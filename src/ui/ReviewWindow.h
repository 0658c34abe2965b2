#pragma once
// The review of the last game that ended: every turn in order, the word played (or the pass)
// beside the longest word the position allowed, and the selected turn's board with both
// paths. It reads a copy of the game's record and changes nothing of the game, the records
// or the network. The turns are reviewed one per event-loop pass, so the window never stalls.

#include "dictionary/Dictionary.h"
#include "game/GameReview.h"
#include "ui/SkinnedDialog.h"

class QLabel;
class QTableWidget;
class QTimer;
class TTexturedButton;

class TReviewWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static const QColor PlayedColour;
    static const QColor BestColour;

    TReviewWindow(TPresentation& look, QWidget* parent);

    // Shows `record` and reviews it turn by turn with `words` when they are in its language,
    // else with that language's own dictionary.
    void Review(const TGameRecord& record, const TDictionary& words);
    bool Reviewing() const;
    // Where the board view draws a cell, in window pixels.
    QRect CellRect(TCellPos pos) const;
    // Writes the record as text; raises IoError naming the file.
    void SaveTo(const QString& path) const;

    QTableWidget* Turns;
    TTexturedLabel* Summary;
    TTexturedButton* SaveButton;

signals:
    // Every turn is reviewed and the summary shown.
    void Reviewed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ReviewNextTurn();
    void ShowRow(int row);
    void ShowSummary();
    void ChooseFile();
    void PaintBoard(QPainter& painter) const;
    void PaintPath(QPainter& painter, const QList<TCellPos>& path, const QColor& colour,
                   int offset) const;

    QTimer* stepper_;
    TGameRecord record_;
    QList<TTurnReview> reviews_;
    const TDictionary* words_ = nullptr;
    TDictionary otherLanguage_;
};

#include "ui/ResultWindow.h"

#include "dictionary/Dictionary.h"
#include "game/Game.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Presentation.h"
#include "ui/RecordsWindow.h"

#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <cstdlib>

namespace {

constexpr int RestFace = 0;
constexpr int SadFace = 5;

} // namespace

TResultWindow::TResultWindow(TPresentation& look, TRunWinners& winners, TGame& game,
                             QWidget* parent)
    : TSkinnedDialog(look, parent, 292, 133), winners_(winners), game_(game) {
    // The no-place message is long in every language: it wraps, between the result line
    // and the OK button.
    NoPlaceLabel = new QLabel(this);
    NoPlaceLabel->setGeometry(rect());
    NoPlaceLabel->setContentsMargins(10, 36, 10, 53);
    NoPlaceLabel->setAlignment(Qt::AlignCenter);
    NoPlaceLabel->setWordWrap(true);
    NoPlaceLabel->setStyleSheet("color: white; font-weight: bold");
    CreditLabel = MakeCaption({0, 20, 292, 16}, true);
    NameLabel = MakeCaption({15, 65, 161, 14});
    NameEdit = new QLineEdit(this);
    NameEdit->setGeometry(15, 90, 160, 22);
    OkButton = MakeOkButton(220, 80);
    FaceTimer = new QTimer(this);
    FaceTimer->setInterval(150);
    connect(FaceTimer, &QTimer::timeout, this, &TResultWindow::NextFace);
    // The result is filed when the window closes, and only then.
    connect(this, &QDialog::finished, this, &TResultWindow::FileResult);
}

// Only the first showing of a result starts it: a window shown again after a minimise, or
// after the hide keys, keeps the name typed so far.
void TResultWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    if (!freshResult_)
        return;
    freshResult_ = false;
    FaceTimer->start();
    ShowResult();
}

void TResultWindow::ShowResult() {
    const int result = GameResult(game_);
    const bool earnsPlace = PlaceFor(CurrentWinners(winners_, game_), result) >= 0;
    NameEdit->setVisible(earnsPlace);
    NameLabel->setVisible(earnsPlace);
    NoPlaceLabel->setVisible(!earnsPlace);
    Look().Sounds.PlaySoundEffect(earnsPlace ? SoundWinner : SoundLoser);
    if (game_.Score(2) > game_.Score(1))
        FaceAnimating = true;
    else
        game_.SetFace(SadFace);
    setWindowTitle(GetTextU("GameOver"));
    NameEdit->setText(GetTextU("Anonimous"));
    CreditLabel->SetCaption(GetTextU("AddRating1") + " " + QString::number(result));
    NameLabel->SetCaption(GetTextU("AddRating2"));
    NoPlaceLabel->setText(GetTextU("AddRating3"));
}

// Faces 7, 8, 9, 10, 11, 8, 7, one per tick, and again.
void TResultWindow::NextFace() {
    if (!FaceAnimating)
        return;
    FaceStep = FaceStep <= 8 ? FaceStep + 1 : 1;
    if (FaceStep == 6)
        FaceStep = 8;
    game_.SetFace(11 - std::abs(FaceStep - 5));
}

void TResultWindow::FileResult() {
    freshResult_ = true;
    FaceTimer->stop();
    FaceAnimating = false;
    game_.SetFace(RestFace);
    AddToWinners(winners_, game_.Dictionary().Language, CurrentLevel(game_), GameResult(game_),
                 CodePage::FromUnicode(NameEdit->text()));
}

int GameResult(const TGame& game) {
    return game.Score(1) - game.Score(2);
}

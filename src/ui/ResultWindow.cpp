#include "ui/ResultWindow.h"

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/MainWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/Skins.h"
#include "ui/SoundEffects.h"

#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <cstdlib>

bool FaceAnimating = false;
quint16 FaceStep = 0;
TResultWindow* AddRatingWindow = nullptr;

namespace {

constexpr int RestFace = 0;
constexpr int SadFace = 5;

TTexturedLabel* MakeLabel(QWidget* parent, QRect geometry, bool bold) {
    auto* label = new TTexturedLabel(parent);
    label->setGeometry(geometry);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->SetFontColor(Qt::white);
    label->SetTransparent(true);
    return label;
}

} // namespace

TResultWindow::TResultWindow(QWidget* parent) : TSkinnedDialog(parent, 292, 133) {
    AddRatingWindow = this;
    // The no-place message is long in every language: it wraps, between the result line
    // and the OK button.
    CoolLabel3 = new QLabel(this);
    CoolLabel3->setGeometry(rect());
    CoolLabel3->setContentsMargins(10, 36, 10, 53);
    CoolLabel3->setAlignment(Qt::AlignCenter);
    CoolLabel3->setWordWrap(true);
    CoolLabel3->setStyleSheet("color: white; font-weight: bold");
    CreditLabel = MakeLabel(this, {0, 20, 292, 16}, true);
    CoolLabel2 = MakeLabel(this, {15, 65, 161, 14}, false);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(15, 90, 160, 22);
    CoolOkButton = MakeOkButton(220, 80);
    Timer = new QTimer(this);
    Timer->setInterval(150);
    connect(Timer, &QTimer::timeout, this, &TResultWindow::TimerTimer);
    // The result is filed when the window closes, and only then.
    connect(this, &QDialog::finished, this, &TResultWindow::FormDeactivate);
    SuspendGameWhileActive(this);
}

TResultWindow::~TResultWindow() {
    if (AddRatingWindow == this)
        AddRatingWindow = nullptr;
}

// Only the first showing of a result starts it: a window shown again after a minimise, or
// after the hide keys, keeps the name typed so far.
void TResultWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    if (!freshResult_)
        return;
    freshResult_ = false;
    Timer->start();
    FormActivate();
}

void TResultWindow::FormActivate() {
    const int result = GameResult();
    const bool earnsPlace = PlaceFor(CurrentWinners(), result) >= 0;
    Edit1->setVisible(earnsPlace);
    CoolLabel2->setVisible(earnsPlace);
    CoolLabel3->setVisible(!earnsPlace);
    PlaySoundEffect(earnsPlace ? SoundWinner : SoundLoser);
    if (MainWindow->Game->Score(2) > MainWindow->Game->Score(1))
        FaceAnimating = true;
    else
        MainWindow->Game->SetFace(SadFace);
    setWindowTitle(GetTextU("GameOver"));
    Edit1->setText(GetTextU("Anonimous"));
    CreditLabel->SetCaption(GetTextU("AddRating1") + " " + QString::number(result));
    CoolLabel2->SetCaption(GetTextU("AddRating2"));
    CoolLabel3->setText(GetTextU("AddRating3"));
}

// Faces 7, 8, 9, 10, 11, 8, 7, one per tick, and again.
void TResultWindow::TimerTimer() {
    if (!FaceAnimating)
        return;
    FaceStep = FaceStep <= 8 ? FaceStep + 1 : 1;
    if (FaceStep == 6)
        FaceStep = 8;
    MainWindow->Game->SetFace(11 - std::abs(FaceStep - 5));
}

void TResultWindow::FormDeactivate() {
    freshResult_ = true;
    Timer->stop();
    FaceAnimating = false;
    MainWindow->Game->SetFace(RestFace);
    AddToWinners(Winners, Words.Language, CurrentLevel(), GameResult(),
                 CodePage::FromUnicode(Edit1->text()));
}

int GameResult() {
    return MainWindow->Game->Score(1) - MainWindow->Game->Score(2);
}

void ShowGameResult(std::function<void()> then) {
    QObject::connect(
        AddRatingWindow, &QDialog::finished, AddRatingWindow,
        [then] {
            QObject::connect(
                WinnersWindow, &QDialog::finished, WinnersWindow, [then] { then(); },
                Qt::SingleShotConnection);
            WinnersWindow->open();
        },
        Qt::SingleShotConnection);
    AddRatingWindow->open();
}

#include "ui/RecordsWindow.h"

#include "dictionary/Dictionary.h"
#include "game/Game.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/QuestionWindow.h"

#include <QFrame>
#include <QLinearGradient>
#include <QPainter>

namespace {

QFont DefaultFont(int pointSize) {
    QFont font("Default");
    font.setPointSize(pointSize);
    return font;
}

// The face of the two clear buttons: a plain vertical gradient, apart from the skin.
QPixmap GradientFace(QSize size) {
    QPixmap face(size);
    QPainter painter(&face);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(90, 110, 170));
    gradient.setColorAt(1, QColor(20, 30, 70));
    painter.fillRect(face.rect(), gradient);
    return face;
}

TTexturedButton* MakeClearButton(QWidget* parent, int top) {
    auto* button = new TTexturedButton(parent);
    button->setGeometry(15, top, 120, 25);
    button->setFont(QFont("MS Sans Serif", 8));
    button->SetFontColor(Qt::white);
    button->SetTexture(GradientFace(button->size()));
    return button;
}

} // namespace

int CurrentLevel(const TGame& game) {
    return game.Strength() - 2;
}

TWinnerList& CurrentWinners(TRunWinners& winners, const TGame& game) {
    return winners[game.Dictionary().Language][CurrentLevel(game)];
}

TRecordsWindow::TRecordsWindow(TPresentation& look, TRunWinners& winners, const TGame& game,
                               TQuestionWindow& question, QWidget* parent)
    : TSkinnedDialog(look, parent, 292, 357), winners_(winners), game_(game), question_(question) {
    TablePanel = new TTexturedLabel(this);
    TablePanel->setGeometry(15, 15, 265, 250);
    TablePanel->SetBevels(TTexturedLabel::Bevel::Lowered, TTexturedLabel::Bevel::None);
    AddButtonFace(TablePanel);
    ColumnDivider = new QFrame(this);
    ColumnDivider->setGeometry(85, 15, 2, 250);
    ColumnDivider->setFrameStyle(QFrame::VLine | QFrame::Sunken);

    ClearListButton = MakeClearButton(this, 280);
    ClearAllButton = MakeClearButton(this, 320);
    connect(ClearListButton, &TTexturedButton::Clicked, this,
            &TRecordsWindow::ClearListButtonClick);
    connect(ClearAllButton, &TTexturedButton::Clicked, this, &TRecordsWindow::ClearAllButtonClick);

    OkButton = MakeOkButton(200, 293);

    CreateWinnerLabels();
}

void TRecordsWindow::CreateWinnerLabels() {
    const QRect frame = TablePanel->geometry();
    const int split = ColumnDivider->x();
    const QColor colours[] = {Qt::white, QColor(200, 255, 210)};
    for (int column = 1; column <= 2; ++column) {
        const int left = column == 1 ? frame.left() : split;
        const int right = column == 1 ? split : frame.right() + 1;
        for (int row = 0; row <= 9; ++row) {
            auto* label = new TTexturedLabel(this);
            label->setGeometry(left, frame.top() + 25 * row, right - left, 25);
            label->setFont(DefaultFont(14));
            label->SetFontColor(colours[column - 1]);
            label->SetTransparent(true);
            WinnerLabels[column][row] = label;
        }
    }
}

void TRecordsWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    ShowList();
}

void TRecordsWindow::ShowList() {
    const TWinnerList& list = CurrentWinners(winners_, game_);
    ClearListButton->setEnabled(!list[0].IsEmpty());
    ClearAllButton->setEnabled(HasAnyResult(winners_));
    ClearListButton->SetCaption(GetTextU("WinnersButton1"));
    ClearAllButton->SetCaption(GetTextU("WinnersButton2"));
    setWindowTitle(GetTextU("Menu_Records"));
    for (int row = 0; row <= 9; ++row) {
        const TWinner& winner = list[row];
        WinnerLabels[2][row]->SetCaption(CodePage::ToUnicode(winner.Name));
        WinnerLabels[1][row]->SetCaption(winner.IsEmpty() ? QString()
                                                          : QString::number(winner.Score));
    }
}

void TRecordsWindow::ClearListButtonClick() {
    ClearAfterQuestion(ClearListButton, [this] {
        ChangeWinners(winners_, TWinnersChange::ClearListOf(game_.Dictionary().Language,
                                                            CurrentLevel(game_)));
    });
}

void TRecordsWindow::ClearAllButtonClick() {
    ClearAfterQuestion(ClearAllButton,
                       [this] { ChangeWinners(winners_, TWinnersChange::ClearEveryList()); });
}

void TRecordsWindow::ClearAfterQuestion(TTexturedButton* button,
                                        const std::function<void()>& clear) {
    // Only a plain yes clears: a question closed without an answer keeps the records.
    question_.Ask(button->Caption(), GetTextU("Sure"), [this, clear](int answer) {
        if (answer != TQuestionWindow::Yes)
            return;
        clear();
        ShowList();
    });
}

// The main window as a view of the game: it shows the game whenever it changes, hands the
// person's input to it, and opens the windows the game asks for.

#include "ui/MainWindow.h"

#include "dictionary/Dictionary.h"
#include "net/WebServices.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/KeyState.h"
#include "platform/TexturedLabel.h"
#include "settings/RunData.h"
#include "settings/Settings.h"
#include "ui/ChatWindow.h"
#include "ui/Presentation.h"
#include "ui/QuestionWindow.h"
#include "ui/ResultWindow.h"
#include "ui/ReviewWindow.h"
#include "ui/StrengthWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QScopeGuard>
#include <QTimer>

namespace {

const QColor Yellow(255, 255, 0);
const QColor Blue(0, 0, 255);

QString Caption(const TTexts& texts, bool waiting) {
    const QString title = texts.GetTextU("Title");
    return waiting ? title + " (" + texts.GetTextU("Wait") + ")" : title;
}

} // namespace

void TMainWindow::ConnectGame() {
    connect(Game, &TGame::Changed, this, &TMainWindow::ShowGame);
    connect(Game, &TGame::QuestionAsked, this, &TMainWindow::AskToAddWord);
    // Against the computer: the result, then the records, then the next game, unless another
    // game has begun meanwhile (a peer joined and opened one).
    connect(Game, &TGame::Finished, this, [this] {
        ShowGameResult([this, ended = Game->GameNumber()] {
            if (Game->GameNumber() == ended)
                StartGame(true);
        });
    });
}

void TMainWindow::ShowGame() {
    const bool waiting = Game->ShowsWaiting();
    if (waiting != waitingShown_) {
        waitingShown_ = waiting;
        setWindowTitle(Caption(look_.Texts, waiting));
    }
    ForEachCell(Cells, [this](TBoardCell& cell) { ShowCell(cell); });
    WordLabel->SetCaption(CodePage::ToUnicode(Game->WordShown()));
    OwnScoreLabel->SetCaption(ScoreText(Game->Score(1)));
    OpponentScoreLabel->SetCaption(ScoreText(Game->Score(2)));
    ShowWords();
    ShowFace(Game->Face());
    SkipButton->setEnabled(Game->PersonsTurn());
    AdviceButton->setEnabled(Game->PersonsTurn());
    AdviceButton->setVisible(Game->AdviceOffered());
    ShowLetters();
    // A question the game no longer asks (a new game began meanwhile) goes away unanswered.
    if (addWordAsked_ && Game->Phase() != TPhase::Asking) {
        addWordAsked_ = false;
        QuestionWindow->reject();
    }
}

// A letter not yet fixed looks pressed into the board; every other cell looks raised.
void TMainWindow::ShowCell(TBoardCell& cell) {
    const TCell& state = Game->Board().At(cell.Pos());
    const QByteArray letter = Game->ShownLetter(cell.Pos());
    cell.SetCaption(CodePage::ToUnicode(letter));
    cell.SetTexture(look_.Skins[state.Selected ? SlotTracedCell : SlotCell]);
    cell.SetFontColor(state.Selected ? SelectedLetterColor : QColor(Qt::black));
    const bool pressed = state.IsFree() && !letter.isEmpty() && !state.Selected;
    const auto bevel = pressed ? TTexturedLabel::Bevel::Lowered : TTexturedLabel::Bevel::Raised;
    cell.SetBevels(bevel, bevel);
}

void TMainWindow::ShowWords() {
    for (int player = 1; player <= 2; ++player) {
        const QList<QByteArray>& words = Game->WordList(player);
        for (int row = 1; row <= WordRows; ++row)
            WordLabels[player][row]->SetCaption(CodePage::ToUnicode(words.value(row - 1)));
    }
}

void TMainWindow::ShowLetters() {
    for (TTexturedButton* button : LetterButtons) {
        const bool chosen = CodePage::FromUnicode(button->Caption()) == Game->ChosenLetter();
        button->SetFontColor(chosen ? Blue : Yellow);
        button->SetTexture(look_.Skins[chosen ? SlotChosenLetter : SlotLetter]);
    }
}

void TMainWindow::ArrangeLetters() {
    const bool english = data_.Words.Language == 2;
    const int perRow = english ? 13 : 16;
    for (int i = 1; i <= 32; ++i) {
        TTexturedButton* button = LetterButtons[i];
        button->move((i - 1) % perRow * 34 + (english ? 52 : 0) + (FormWidth / 2 - 273),
                     FormHeight - 120 + (i > perRow ? 34 : 0));
        button->SetCaption(
            CodePage::ToUnicode(QByteArray(1, static_cast<char>(data_.Words.FirstLetter + i - 1))));
        button->setVisible(i <= data_.Words.AlphabetSize());
    }
    ShowLetters();
}

void TMainWindow::ShowFace(int index) {
    if (index == faceShown_)
        return;
    faceShown_ = index;
    ComputerFace->setPixmap(look_.Faces[index]);
}

void TMainWindow::AskToAddWord(const QByteArray& word) {
    addWordAsked_ = true;
    QuestionWindow->Ask(GetTextU("AddWord1") + " " + CodePage::ToUnicode(word),
                        GetTextU("AddWord2"), [this](int answer) {
                            if (!addWordAsked_)
                                return;
                            addWordAsked_ = false;
                            Game->AnswerQuestion(answer == TQuestionWindow::Yes  ? TAnswer::Yes
                                                 : answer == TQuestionWindow::No ? TAnswer::No
                                                                                 : TAnswer::None);
                        });
}

void TMainWindow::StartGame(bool local, const QByteArray& startWord) {
    Game->StartGame(local, startWord);
}

void TMainWindow::Menu_NewGameClick() {
    StartGame(true);
}

// The new dictionary is read and the settings file written before anything changes, so a
// switch that fails leaves the old language whole.
void TMainWindow::Menu_RussianClick(QAction* item) {
    const int tag = item->data().toInt();
    const quint16 previous = data_.Words.Language;
    const quint16 language = tag % 10;
    if (language == previous)
        return;
    try {
        TDictionary next;
        next.Language = language;
        next.WordCount = data_.Words.WordCount;
        next.LoadWords(data_.Folder);
        UseLanguage(data_.Words, language);
        try {
            SaveSettings();
        } catch (...) {
            UseLanguage(data_.Words, previous);
            throw;
        }
        next.FirstLetter = data_.Words.FirstLetter;
        next.LanguageName = data_.Words.LanguageName;
        next.CountsChanged = std::move(data_.Words.CountsChanged);
        data_.Words = std::move(next);
    } catch (...) {
        LanguageItem(previous)->setChecked(true);
        throw;
    }
    item->setChecked(true);
    LoadSettings();
    if (tag < 10)
        Menu_NewGameClick();
    ArrangeLetters();
    Game->ClearChosenLetter();
}

void TMainWindow::Menu_CPUClick() {
    const int before = Game->Strength();
    StrengthWindow->open();
    connect(
        StrengthWindow, &QDialog::finished, this,
        [this, before] {
            if (Game->Strength() != before)
                Menu_NewGameClick();
        },
        Qt::SingleShotConnection);
}

void TMainWindow::Menu_ReviewClick() {
    if (!reviewWindow_) {
        reviewWindow_ = new TReviewWindow(look_, this);
        SuspendGameWhileActive(reviewWindow_, MainActive);
    }
    reviewWindow_->Review(Game->LastRecord(), data_.Words);
    reviewWindow_->show();
    reviewWindow_->raise();
}

void TMainWindow::Poll() {
    if (!Hidden && KeyState::CtrlAltLetterHeld('Z'))
        ToggleHidden();
    else if (Hidden && KeyState::CtrlAltLetterHeld('X'))
        ToggleHidden();
    StrengthLabel->SetCaption(QString::number(Game->Strength() - 2));
    Ticks = Ticks == 31 ? 0 : Ticks + 1;
    if (Ticks == 0)
        versionCheck_->StatisticsRequestStep();
}

// Hiding ends no window: a window opened with open() stays open, unseen, and comes back as
// it was.
void TMainWindow::ToggleHidden() {
    if (!Hidden) {
        hiddenWindows_.clear();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) {
                hiddenWindows_.append(window);
                window->hide();
            }
        Hidden = 1;
    } else {
        for (QWidget* window : hiddenWindows_)
            if (window)
                window->show();
        hiddenWindows_.clear();
        Hidden = 0;
    }
}

void TMainWindow::AppOnMessage() {
    Game->RightClick();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    // Nothing of the game goes on once the settings and records are saved.
    Game->Stop();
    event->accept();
    FormClose();
}

void TMainWindow::FormClose() {
    // A settings file that cannot be written is reported, and the program still closes.
    look_.Messages.Guard([this] { SaveSettings(); });
    look_.Messages.Guard([this] { WriteWinners(data_.Winners, data_.Folder); });
}

void TMainWindow::ShowComputerOpponent(bool shown) {
    Menu_CPU->setEnabled(shown);
    for (QWidget* part : std::initializer_list<QWidget*>{FaceFrame, ComputerFace, StrengthLabel})
        part->setVisible(shown);
}

void TMainWindow::AddChatLine(const QByteArray& line) {
    ChatWindow->AddLine(line);
}

void TMainWindow::PlaySound(TSound sound) {
    effects_->Play(sound);
}

void TMainWindow::ShowPeer(const QByteArray& name) {
    PeerNameLabel->SetCaption(CodePage::ToUnicode(name));
    PeerNameLabel->setVisible(!name.isEmpty());
    ShowComputerOpponent(name.isEmpty());
}

// The raised number keeps the switch from starting a game of its own.
void TMainWindow::FollowLanguage(int language) {
    QAction* item = LanguageItem(language);
    item->setData(item->data().toInt() + 10);
    const auto restore = qScopeGuard([item] { item->setData(item->data().toInt() - 10); });
    Menu_RussianClick(item);
}

#include "core/MainUnit.h"

#include "core/SplashUnit.h"
#include "dictionary/FacesUnit.h"
#include "dictionary/SearchUnit.h"
#include "dictionary/SetCPUUnit.h"
#include "dictionary/WordsUnit.h"
#include "net/Config.h"
#include "net/NetPlayUnit.h"
#include "net/WebAddresses.h"
#include "net/WebUnit.h"
#include "platform/CodePage.h"
#include "platform/CoolLabel.h"
#include "platform/Errors.h"
#include "platform/KeyState.h"
#include "platform/LinkButton.h"
#include "platform/SafeApplication.h"
#include "settings/AddRatingUnit.h"
#include "settings/INIUnit.h"
#include "settings/WinnersUnit.h"
#include "ui/ChoiceUnit.h"
#include "ui/ImagesUnit.h"
#include "ui/ShortcutUnit.h"
#include "ui/SoundUnit.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

TMainWindow* MainWindow = nullptr;
quint8 MainActive = 1;
int NetState = 0;

namespace {

const QColor Yellow(255, 255, 0);
const QColor Blue(0, 0, 255);

// The client area: it tiles the main background behind every control.
class TClientArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        TileTexture(painter, rect(), SkinBitmaps[SlotMainBackground]);
        DrawGoldOutline(painter);
    }

private:
    // Two dotted lines, one pixel apart, along the edge.
    void DrawGoldOutline(QPainter& painter) const {
        const int w = width();
        const int h = height();
        painter.setPen(QPen(QColor(255, 215, 0), 1, Qt::DotLine));
        painter.drawPolygon(QPolygon({{1, 0}, {w - 1, 0}, {w - 1, h - 2}, {1, h - 2}}));
        painter.drawPolygon(QPolygon({{0, 1}, {w - 2, 1}, {w - 2, h - 1}, {0, h - 1}}));
    }
};

// Sees every right-button press of the program before it is dispatched; never consumes it.
class TRightButtonFilter : public QObject {
public:
    explicit TRightButtonFilter(TMainWindow* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            watched->isWidgetType()) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // A press that a widget passes on to its parent is seen once only.
            if (mouse->button() == Qt::RightButton && mouse->timestamp() != lastTimestamp_) {
                lastTimestamp_ = mouse->timestamp();
                if (MainActive == 1)
                    window_->AppOnMessage();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TMainWindow* window_;
    quint64 lastTimestamp_ = 0;
};

QFont DefaultFont(int pointSize, bool bold) {
    QFont font("Default");
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

TCoolLabel* MakeLabel(QWidget* parent, QRect geometry, QFont font, QColor color) {
    auto* label = new TCoolLabel(parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->SetFontColor(color);
    return label;
}

// Shows the computer's progress while it searches, and stops the search when the game
// it was started for is over.
class TComputerListener : public TSearchListener {
public:
    TComputerListener(TMainWindow& window, quint32 game,
                      std::function<void(const TFoundMove&)> show)
        : window_(window), game_(game), show_(std::move(show)), lastTick_(window.Ticks - 1) {}

    bool TrialLetter(TCellIndex, int) override {
        QCoreApplication::processEvents();
        if (Stopped())
            return true;
        if (!window_.AdviceMode && window_.Ticks != lastTick_) {
            lastTick_ = window_.Ticks;
            phase_ = (phase_ + 1) % 20;
            if (phase_ > 12 && phase_ % 2 == 1) {
                blink_ = !blink_;
                window_.ShowFace(blink_ ? 3 : 4);
            }
        }
        return false;
    }

    bool Improved(const TFoundMove& best) override {
        show_(best);
        QCoreApplication::processEvents();
        return Stopped();
    }

private:
    bool Stopped() const { return window_.StopSearch || window_.GameNumber != game_; }

    TMainWindow& window_;
    const quint32 game_;
    std::function<void(const TFoundMove&)> show_;
    quint16 lastTick_;
    int phase_ = 12;
    bool blink_ = true;
};

QByteArray LetterOf(const TCoolButton* button) {
    return CodePage::FromUnicode(button->Caption());
}

} // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent) {
    MainWindow = this;
    client_ = new TClientArea(this);
    setCentralWidget(client_);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    client_->setFont(font);
    CreateControls();
    CreateMenu();
    CreateCaptionDecoration();
    rightButtonFilter_ = new TRightButtonFilter(this);
    Timer = new QTimer(this);
    Timer->setInterval(100);
    connect(Timer, &QTimer::timeout, this, &TMainWindow::TimerTimer);
    SoundSettings.SoundOn = [this] { return Menu_Sound->isChecked(); };
    SoundSettings.WaitTicks = [this](int n) { WaitTicks(n); };
    Words.CountsChanged = [this] { ShowWordCounts(); };

    FormCreate();

    client_->setFixedSize(ClientWidth, ClientHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    move(screen()->availableGeometry().center() - rect().center());
}

// Each SplashProgress() is one step of the splash bar: ten in all, from 1 to 11.
void TMainWindow::FormCreate() {
    new TVersionCheck(this);
    SplashProgress();
    RegisterSkinned(this, [this] { DressMainWindow(*this); });
    SplashProgress();
    qApp->installEventFilter(rightButtonFilter_);
    CreateWordLabels();
    SplashProgress();
    CreateLetters();
    SplashProgress();
    CreateCells();
    SplashProgress();
    TSafeApplication::Guard(ReadWinners);
    SettingsFile->LoadSettings();
    LoadFaces(FaceTint.red(), FaceTint.green(), FaceTint.blue());
    SplashProgress();
    ShowFace(0);
    ArrangeLetters();
    SplashProgress();
    LoadBothDictionaries();
    Menu_NewGameClick();
    LoadSkinImages();
    SplashProgress();
    ApplySkins();
    Timer->start();
}

TMainWindow::~TMainWindow() {
    FormDestroy();
}

// The HTTP client and the other windows belong to this window and go with it.
void TMainWindow::FormDestroy() {
    // The peer is told goodbye while the windows that its events reach still exist.
    ReleaseSession(*this);
    qApp->removeEventFilter(rightButtonFilter_);
    SoundSettings = TSoundSettings{};
    Words.CountsChanged = nullptr;
    if (MainWindow == this)
        MainWindow = nullptr;
}

void TMainWindow::CreateControls() {
    client_->resize(ClientWidth, ClientHeight);
    AdviceButton = new TCoolButton(client_);
    AdviceButton->setGeometry(20, 10, 100, 30);
    SkipButton = new TCoolButton(client_);
    SkipButton->setGeometry(20, 50, 100, 30);
    for (TCoolButton* button : {AdviceButton, SkipButton}) {
        button->setFont(DefaultFont(11, true));
        button->SetFontColor(QColor(200, 200, 255));
        button->SetTexture(SkinBitmaps[SlotButton]);
    }
    connect(AdviceButton, &TCoolButton::Clicked, this, &TMainWindow::AdviceButtonClick);
    connect(SkipButton, &TCoolButton::Clicked, this, &TMainWindow::SkipButtonClick);

    QFont small("Small Fonts");
    small.setPointSize(7);
    CoolLabel1 = MakeLabel(client_, {193, 15, 201, 11}, small, Qt::white);
    CoolLabel1->SetTransparent(true);
    CoolLabel1->SetCaption("Kordi 2000 v2.01");

    Slowo = MakeLabel(client_, {193, 40, 200, 40}, DefaultFont(14, false), QColor(200, 200, 255));
    Slowo->SetBevels(TCoolLabel::Bevel::Raised, TCoolLabel::Bevel::Lowered);
    Slowo->SetTexture(SkinBitmaps[SlotWordLabel]);

    const QColor scoreColor(239, 255, 239);
    Score1 = MakeLabel(client_, {125, 60, 50, 20}, DefaultFont(12, true), scoreColor);
    Score2 = MakeLabel(client_, {400, 60, 50, 20}, DefaultFont(12, true), scoreColor);
    Score1->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Score2->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (TCoolLabel* score : {Score1, Score2})
        score->SetTransparent(true);

    CoolBevel1 = new QFrame(client_);
    CoolBevel1->setGeometry(455, 8, 104, 74);
    CoolBevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    CPUface = new QLabel(client_);
    CPUface->setGeometry(457, 10, 100, 70);
    CPUface->setAlignment(Qt::AlignCenter);
    StrongLabel =
        MakeLabel(client_, {460, 10, 10, 20}, DefaultFont(8, false), QColor(180, 105, 255));
    StrongLabel->SetTransparent(true);
    StrongLabel->SetCaption("0");

    const QColor playerColor(212, 255, 127);
    Player0 = MakeLabel(client_, {20, 87, 140, 21}, DefaultFont(10, true), playerColor);
    Player1 = MakeLabel(client_, {420, 87, 140, 21}, DefaultFont(10, true), playerColor);
    for (TCoolLabel* player : {Player0, Player1}) {
        player->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        player->SetTransparent(true);
        player->hide();
    }

    CoolPanel1 = new TCoolLabel(client_);
    CoolPanel1->setGeometry(20, 115, 140, 205);
    CoolPanel2 = new TCoolLabel(client_);
    CoolPanel2->setGeometry(420, 115, 140, 205);
    for (TCoolLabel* panel : {CoolPanel1, CoolPanel2}) {
        panel->SetBevels(TCoolLabel::Bevel::Raised, TCoolLabel::Bevel::Lowered);
        panel->SetTexture(SkinBitmaps[SlotPanel]);
    }
}

namespace {

// Menus and items are named after their text keys: the relabelling finds its texts by name.
template <typename Owner> QMenu* AddMenu(Owner* owner, const char* name, const char* caption) {
    QMenu* menu = owner->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(name);
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(name);
}

QString TextOf(const QObject* item) {
    return GetTextU(item->objectName().toLatin1());
}

void RelabelItems(QMenu* menu) {
    menu->setTitle(TextOf(menu));
    for (QAction* item : menu->actions()) {
        if (QMenu* submenu = item->menu())
            RelabelItems(submenu);
        else if (!item->isSeparator())
            item->setText(TextOf(item));
    }
}

// The pictures carry their own transparency.
const QPixmap& NetIcon(int state) {
    static const CheckedArray<QPixmap, 0, 2> icons = [] {
        CheckedArray<QPixmap, 0, 2> pictures;
        for (int i = 0; i <= 2; ++i)
            pictures[i] = QPixmap(QString(":/resources/net/NET%1.png").arg(i));
        return pictures;
    }();
    return icons[state];
}

} // namespace

void TMainWindow::CreateMenu() {
    Menu_Game = AddMenu(menuBar(), "Menu_Game", "Game");
    Menu_NewGame = AddItem(Menu_Game, "Menu_NewGame", "New Game", QKeySequence(Qt::Key_F2));
    Menu_Records = AddItem(Menu_Game, "Menu_Records", "Records...");
    AddSeparator(Menu_Game, "Menu_None1");
    Menu_Exit = AddItem(Menu_Game, "Menu_Exit", "Exit", QKeySequence(Qt::Key_Escape));

    Menu_Options = AddMenu(menuBar(), "Menu_Options", "Options");
    CreateLanguageMenu();
    Menu_CPU = AddItem(Menu_Options, "Menu_CPU", "CPU ...");
    Menu_Textures = AddItem(Menu_Options, "Menu_Textures", "Textures");
    Menu_Sound = AddItem(Menu_Options, "Menu_Sound", "Sound");
    Menu_Sound->setCheckable(true);
    Menu_Sound->setChecked(true);

    Menu_NetPlay = AddMenu(menuBar(), "Menu_NetPlay", "NetPlay");
    Menu_Connect = AddItem(Menu_NetPlay, "Menu_Connect", "Connect", QKeySequence(Qt::Key_F3));
    Menu_DisConnect =
        AddItem(Menu_NetPlay, "Menu_DisConnect", "Disconnect", QKeySequence(Qt::Key_F4));
    Menu_DisConnect->setEnabled(false);
    AddSeparator(Menu_NetPlay, "Menu_None9");
    Menu_Chat = AddItem(Menu_NetPlay, "Menu_Chat", "Chat", QKeySequence(Qt::Key_F5));

    Menu_Help = AddMenu(menuBar(), "Menu_Help", "Help");
    Menu_Help1 = AddItem(Menu_Help, "Menu_Help1", "How to play", QKeySequence(Qt::Key_F1));
    Menu_About = AddItem(Menu_Help, "Menu_About", "About...", QKeySequence(Qt::ALT | Qt::Key_F1));
    AddSeparator(Menu_Help, "Menu_none2");
    Menu_Visit = AddItem(Menu_Help, "Menu_Visit", "Visit homepage");
    Menu_tekomiro1 = AddItem(Menu_Help, "Menu_tekomiro1", WebAddresses::CompanionSiteLabel);
    Menu_InternetChat = AddItem(Menu_Help, "Menu_InternetChat", "inet-chat");
    Menu_CreateShortcut = AddItem(Menu_Help, "Menu_CreateShortcut", "Shortcut");

    connect(Menu_NewGame, &QAction::triggered, this, &TMainWindow::Menu_NewGameClick);
    connect(Menu_Exit, &QAction::triggered, this, &QWidget::close);
    connect(Menu_CPU, &QAction::triggered, this, &TMainWindow::Menu_CPUClick);
    connect(Menu_Connect, &QAction::triggered, this, &TMainWindow::Menu_ConnectClick);
    connect(Menu_DisConnect, &QAction::triggered, this, &TMainWindow::Menu_DisConnectClick);
    connect(Menu_Chat, &QAction::triggered, this, &TMainWindow::Menu_ChatClick);
    connect(Menu_Help1, &QAction::triggered, this, Menu_Help1Click);
    connect(Menu_Visit, &QAction::triggered, this, Menu_VisitClick);
    connect(Menu_tekomiro1, &QAction::triggered, this, Menu_tekomiro1Click);
    connect(Menu_InternetChat, &QAction::triggered, this, Menu_InternetChatClick);
    connect(Menu_CreateShortcut, &QAction::triggered, this, CreateDesktopShortcut);
}

void TMainWindow::CreateLanguageMenu() {
    Menu_Chooselanguage = AddMenu(Menu_Options, "Menu_Chooselanguage", "Choose language");
    LanguageItems = new QActionGroup(this);
    Menu_Russian = AddItem(Menu_Chooselanguage, "Menu_Russian", "Russian");
    Menu_English = AddItem(Menu_Chooselanguage, "Menu_English", "English");
    for (int language : {1, 2}) {
        QAction* item = LanguageItem(language);
        item->setCheckable(true);
        item->setData(language);
        LanguageItems->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { Menu_RussianClick(item); });
    }
    Menu_Russian->setChecked(true);
    LanguageMenu = {Menu_Russian, Menu_English, [this](QAction* item) { Menu_RussianClick(item); }};
}

QAction* TMainWindow::LanguageItem(int language) const {
    return language == 1 ? Menu_Russian : Menu_English;
}

// The system keeps its own frame and title; the link and the network state sit at the right
// end of the menu bar instead.
void TMainWindow::CreateCaptionDecoration() {
    auto* corner = new QWidget(menuBar());
    auto* row = new QHBoxLayout(corner);
    row->setContentsMargins(0, 0, 3, 0);
    row->setSpacing(10);
    NetStateIcon = new QLabel(corner);
    LinkButton = new TLinkButton(WebAddresses::HomePageLabel, QUrl(WebAddresses::HomePage), corner);
    QFont font("Small Fonts");
    font.setPointSize(7);
    font.setBold(true);
    LinkButton->setFont(font);
    QPalette palette = LinkButton->palette();
    palette.setColor(QPalette::ButtonText, QColor(15, 15, 255));
    LinkButton->setPalette(palette);
    LinkButton->setFixedSize(120, menuBar()->sizeHint().height() - 4);
    row->addWidget(NetStateIcon, 0, Qt::AlignVCenter);
    row->addWidget(LinkButton, 0, Qt::AlignVCenter);
    menuBar()->setCornerWidget(corner, Qt::TopRightCorner);
    ShowNetState();
}

void TMainWindow::ShowNetState() {
    NetStateIcon->setPixmap(NetIcon(NetState));
}

void TMainWindow::RelabelMainWindow() {
    setWindowTitle(GetTextU("Title"));
    for (QAction* menu : menuBar()->actions())
        if (menu->menu())
            RelabelItems(menu->menu());
    ShowWordCounts();
    SkipButton->SetCaption(GetTextU("SkipButton"));
    AdviceButton->SetCaption(GetTextU("AdviceButton"));
}

void TMainWindow::ShowWordCounts() {
    for (int language : {1, 2}) {
        QAction* item = LanguageItem(language);
        item->setText(TextOf(item) + " " + QString::number(Words.WordCount[language]));
    }
}

void TMainWindow::CreateWordLabels() {
    for (int player = 1; player <= 2; ++player) {
        TCoolLabel* panel = player == 1 ? CoolPanel1 : CoolPanel2;
        for (int row = 1; row <= WordRows; ++row) {
            auto* label = MakeLabel(panel, {5, 4 + (row - 1) * 13, 130, 13}, DefaultFont(10, true),
                                    QColor(255, 210, 210));
            label->SetTransparent(true);
            WordLabels[player][row] = label;
        }
    }
}

void TMainWindow::CreateLetters() {
    for (int i = 1; i <= 32; ++i) {
        auto* button = new TCoolButton(client_);
        button->resize(34, 34);
        button->setFont(DefaultFont(16, true));
        connect(button, &TCoolButton::Pressed, this,
                [this, button](Qt::MouseButton) { lettersOnMouseDown(button); });
        letters[i] = button;
    }
}

void TMainWindow::CreateCells() {
    // Cells are placed against the outer width of the frame, as the layout was drawn.
    client_->resize(FormWidth, ClientHeight);
    CreateBoard(Cells, client_);
    client_->resize(ClientWidth, ClientHeight);
    ForEachCell(Cells, [this](Tpole& cell) {
        connect(&cell, &Tpole::Clicked, this, [this, &cell] { PoleClick(&cell); });
        connect(&cell, &Tpole::Entered, this, &TMainWindow::PoleEnter);
        connect(&cell, &Tpole::Left, this, &TMainWindow::PoleLeave);
    });
}

// Both dictionaries are read once, so both language items show a count; the current
// language's is read last and stays in memory.
void TMainWindow::LoadBothDictionaries() {
    const quint16 current = Words.Language;
    for (const quint16 language : {quint16(3 - current), current}) {
        Words.Language = language;
        TSafeApplication::Guard([] { Words.LoadWords(); });
        SplashProgress();
    }
}

void TMainWindow::ArrangeLetters() {
    const bool english = Words.Language == 2;
    const int perRow = english ? 13 : 16;
    for (int i = 1; i <= 32; ++i) {
        TCoolButton* button = letters[i];
        button->move((i - 1) % perRow * 34 + (english ? 52 : 0) + (FormWidth / 2 - 273),
                     FormHeight - 120 + (i > perRow ? 34 : 0));
        if (button->FontColor() != Yellow) {
            button->SetFontColor(Yellow);
            button->SetTexture(SkinBitmaps[SlotLetter]);
        }
        button->SetCaption(
            CodePage::ToUnicode(QByteArray(1, static_cast<char>(Words.FirstLetter + i - 1))));
        button->setVisible(i <= Words.AlphabetSize());
    }
}

void TMainWindow::ShowFace(int index) {
    CPUface->setPixmap(Faces[index]);
}

QByteArray TMainWindow::RandomStartWord() const {
    const auto& fives = Words.Lists[5];
    if (fives.isEmpty()) {
        TSafeApplication::ShowError(
            QString("The dictionary \"%1\" holds no five-letter word to start a game with.")
                .arg(Words.FileName));
        return {};
    }
    const int index = QRandomGenerator::global()->bounded(static_cast<int>(fives.size()));
    return CodePage::ToUpper(fives[index]);
}

void TMainWindow::ShowScores() {
    Score1->SetCaption(ScoreText(Scores[1]));
    Score2->SetCaption(ScoreText(Scores[2]));
}

void TMainWindow::ClearWordLists() {
    for (int player = 1; player <= 2; ++player)
        for (int row = 1; row <= WordRows; ++row)
            WordLabels[player][row]->SetCaption({});
    Scores[1] = 0;
    Scores[2] = 0;
    ShowScores();
}

void TMainWindow::StartGame(bool local, const QByteArray& startWord) {
    ++GameNumber;
    StartedHere = local;
    UsedWords.Clear();
    Slowo->SetCaption({});
    setWindowTitle(GetTextU("Title"));
    AdviceButton->show();
    AdviceButton->setEnabled(true);
    SkipButton->setEnabled(true);
    ShowFace(0);
    const QByteArray word = local ? RandomStartWord() : startWord;
    UsedWords.Add(word);
    SetUpBoard(Cells, word);
    Tpole& hot = *Cells[HotCol][HotRow];
    if (MouseOnCell && !ChosenLetter.isEmpty() && hot.IsEmpty())
        hot.SetLetter(ChosenLetter);
    ClearWordLists();
    SkipCount = 0;
    if (local && NetState == 2)
        SendNetMessage(nmNewGame, StartWordOf(Cells), Words.Language);
    setWindowTitle(GetTextU("Title"));
    if (local) {
        MoveState = 0;
    } else {
        MoveState = 2;
        ShowWaiting();
        Slowo->SetCaption({});
    }
    StopSearch = 1;
}

void TMainWindow::Menu_NewGameClick() {
    StartGame(true);
}

void TMainWindow::Menu_RussianClick(QAction* item) {
    const int tag = item->data().toInt();
    const quint16 previous = Words.Language;
    const quint16 language = tag % 10;
    if (language == previous)
        return; // the item is checked already
    item->setChecked(true);
    UseLanguage(language);
    try {
        SettingsFile->SaveSettings();
    } catch (const KordiError&) {
        // The file still holds the old language: stay with it rather than half switch.
        UseLanguage(previous);
        LanguageItem(previous)->setChecked(true);
        throw;
    }
    SettingsFile->LoadSettings();
    Words.LoadWords();
    if (tag < 10)
        Menu_NewGameClick();
    ArrangeLetters();
    ChosenLetter.clear();
}

void TMainWindow::CreditWord(int player, const QByteArray& word) {
    Scores[player] = static_cast<quint16>(Scores[player] + word.size());
    ShowScores();
    UsedWords.Add(word);
    for (int row = WordRows; row >= 2; --row)
        WordLabels[player][row]->SetCaption(WordLabels[player][row - 1]->Caption());
    WordLabels[player][1]->SetCaption(CodePage::ToUnicode(word));
}

bool TMainWindow::IsGameOver() const {
    return SkipCount >= 2 || BoardFull(Cells);
}

void TMainWindow::GameOver() {
    ShowGameResult();
    Menu_NewGameClick();
}

void TMainWindow::ShowWaiting() {
    setWindowTitle(GetTextU("Title") + " (" + GetTextU("Wait") + ")");
    SkipButton->setEnabled(false);
    AdviceButton->setEnabled(false);
}

void TMainWindow::WaitTicks(int n) {
    for (int i = 0; i < n; ++i) {
        const quint16 start = Ticks;
        while (Ticks == start) {
            if (Timer->isActive()) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            } else {
                // The timer is held elsewhere: count the tick ourselves rather than hang.
                QEventLoop pause;
                QTimer::singleShot(Timer->interval(), &pause, &QEventLoop::quit);
                pause.exec();
                break;
            }
        }
    }
}

void TMainWindow::TimerTimer() {
    if (!Hidden && KeyState::CtrlAltLetterHeld('Z'))
        ToggleHidden();
    else if (Hidden && KeyState::CtrlAltLetterHeld('X'))
        ToggleHidden();
    Timer->stop();
    StrongLabel->SetCaption(QString::number(Strength - 2));
    Ticks = Ticks == 31 ? 0 : Ticks + 1;
    RefreshBevels(Cells);
    if (Ticks == 0 && VersionCheck)
        VersionCheck->StatisticsRequestStep();
    Timer->start();
}

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
            window->show();
        hiddenWindows_.clear();
        Hidden = 0;
    }
}

void TMainWindow::lettersOnMouseDown(TCoolButton* button) {
    PlaySoundEffect(SoundClick1, false);
    if (button->FontColor() == Blue)
        return;
    if (MoveState == 1)
        TakeBackLetter();
    ArrangeLetters();
    button->SetFontColor(Blue);
    button->SetTexture(SkinBitmaps[SlotChosenLetter]);
    ChosenLetter = LetterOf(button);
}

void TMainWindow::TakeBackLetter() {
    ClearSelection(Cells);
    Slowo->SetCaption({});
    MoveState = 0;
    Cells[NewCol][NewRow]->SetLetter({});
}

void TMainWindow::PoleEnter(Tpole* cell) {
    HotCol = cell->Col;
    HotRow = cell->Row;
    if (cell->IsFree() && MoveState == 0 && !ChosenLetter.isEmpty())
        cell->SetLetter(ChosenLetter);
    if (cell->IsFree() && !cell->IsEmpty() && !cell->Selected)
        cell->SetBevels(TCoolLabel::Bevel::Lowered, TCoolLabel::Bevel::Lowered);
    MouseOnCell = 1;
}

void TMainWindow::PoleLeave(Tpole* cell) {
    if (cell->IsFree() && MoveState == 0 && !ChosenLetter.isEmpty()) {
        cell->SetLetter({});
        cell->SetFontColor(Qt::black);
    }
    if (!cell->IsFree() || cell->IsEmpty() || cell->Selected)
        cell->SetBevels(TCoolLabel::Bevel::Raised, TCoolLabel::Bevel::Raised);
    MouseOnCell = 0;
}

void TMainWindow::PoleClick(Tpole* cell) {
    HotCol = cell->Col;
    HotRow = cell->Row;
    if (cell->Selected && MoveState == 1 && Cells[NewCol][NewRow]->Selected) {
        SubmitWord();
        return;
    }
    if (!cell->Selected && !cell->IsEmpty() && MoveState == 1) {
        const QByteArray word = CodePage::FromUnicode(Slowo->Caption());
        if (word.isEmpty()) {
            LastCol = cell->Col;
            LastRow = cell->Row;
            SelectCell(*cell);
            Slowo->SetCaption(CodePage::ToUnicode(cell->Letter()));
            PlaySoundEffect(SoundClick3, false);
        } else if (AreNeighbours(LastCol, LastRow, cell->Col, cell->Row)) {
            LastCol = cell->Col;
            LastRow = cell->Row;
            SelectCell(*cell);
            Slowo->SetCaption(CodePage::ToUnicode(word + cell->Letter()));
            PlaySoundEffect(SoundClick3, false);
        }
    }
    if (MoveState == 0 && !ChosenLetter.isEmpty() && cell->IsFree()) {
        PlaySoundEffect(SoundClick3, false);
        MoveState = 1;
        NewCol = cell->Col;
        NewRow = cell->Row;
        cell->SetLetter(ChosenLetter); // normally there already, from the preview
    }
}

void TMainWindow::SubmitWord() {
    const QByteArray word = CodePage::FromUnicode(Slowo->Caption());
    if (word.size() == 1 || word.size() > TWords::MaxLength || UsedWords.IsUsed(word)) {
        RefusalBlink();
        ClearSelection(Cells);
        Slowo->SetCaption({});
        return;
    }
    if (Words.FindWord(word, static_cast<int>(word.size()))) {
        AcceptWord(true);
        ContinueAfterWord();
        return;
    }
    ShowFace(6);
    const int answer =
        AskQuestion(GetTextU("AddWord1") + " " + CodePage::ToUnicode(word), GetTextU("AddWord2"));
    if (answer == TChoiceWindow::Yes) {
        ShowFace(0);
        Words.AppendWord(word);
        Words.LoadWords();
        AcceptWord(false);
        ContinueAfterWord();
        return;
    }
    if (answer == TChoiceWindow::No) {
        ClearSelection(Cells);
        Slowo->SetCaption({});
    }
    ShowFace(0);
}

void TMainWindow::RefusalBlink() {
    for (int face : {2, 1, 2, 1, 2, 1, 2}) {
        ShowFace(face);
        WaitTicks(2);
    }
    ShowFace(0);
}

void TMainWindow::AcceptWord(bool withSound) {
    CreditWord(1, CodePage::FromUnicode(Slowo->Caption()));
    Cells[NewCol][NewRow]->Fixed = 1;
    SkipCount = 0;
    if (withSound)
        PlaySoundEffect(SoundApply, true);
}

void TMainWindow::ContinueAfterWord() {
    if (!IsGameOver() || NetState == 2)
        ComputerMove();
    else
        GameOver();
}

void TMainWindow::AppOnMessage() {
    if (MoveState == 1) {
        PlaySoundEffect(SoundClick2, false);
        if (Slowo->Caption().isEmpty()) {
            MoveState = 0;
            Cells[NewCol][NewRow]->SetLetter({});
        } else {
            Slowo->SetCaption({});
            ClearSelection(Cells);
        }
    }
    Tpole& hot = *Cells[HotCol][HotRow];
    if (MouseOnCell && hot.IsFree() && MoveState == 0 && !ChosenLetter.isEmpty())
        hot.SetLetter(ChosenLetter);
}

void TMainWindow::SkipButtonClick() {
    if (NetState == 2) {
        if (MoveState == 1)
            TakeBackLetter();
        Slowo->SetCaption({});
        SendNotice("Net_SkipMove");
        SendMove(true);
        return;
    }
    const quint32 game = GameNumber;
    ComputerMove();
    if (!StopRequested(game))
        ++SkipCount;
}

void TMainWindow::AdviceButtonClick() {
    const quint32 game = GameNumber;
    AdviceMode = 1;
    ComputerMove();
    if (StopRequested(game))
        return;
    if (AdviceMode == 0) {
        AdviceButton->hide();
        if (NetState == 2) {
            // The advice move itself has handed the turn to the peer.
            SendNotice("Net_Advice");
            MoveState = 2;
            ShowWaiting();
        } else {
            ContinueAfterWord();
        }
    } else {
        AdviceMode = 0;
    }
}

void TMainWindow::Menu_CPUClick() {
    const int before = Strength;
    SetCPUWindow->exec();
    if (Strength != before)
        Menu_NewGameClick();
}

void TMainWindow::ShowSearchBoard(const TFoundMove& best) {
    Slowo->SetCaption(CodePage::ToUnicode(best.Word));
    const auto newLetter = QByteArray(1, static_cast<char>(Words.FirstLetter + best.Letter));
    ForEachCell(Cells, [&](Tpole& cell) {
        const TCellIndex index = (cell.Col - 1) * 5 + cell.Row - 1;
        if (index == best.Cell)
            cell.SetLetter(newLetter);
        else if (cell.IsFree())
            cell.SetLetter({});
        if (std::find(best.Path.begin(), best.Path.end(), index) != best.Path.end())
            SelectCell(cell);
        else
            UnselectCell(cell);
    });
}

void TMainWindow::SettleBoard() {
    ForEachCell(Cells, [this](Tpole& cell) {
        if (cell.IsEmpty()) {
            cell.Fixed = 0;
        } else if (cell.IsFree()) {
            NewCol = cell.Col;
            NewRow = cell.Row;
            cell.Fixed = 1;
        }
    });
}

namespace {

// The fixed letters as alphabet indices; a letter outside the alphabet stays a letter that
// no word can use.
TSearchBoard SnapshotBoard(TCells& cells) {
    TSearchBoard board;
    ForEachCell(cells, [&](Tpole& cell) {
        const TCellIndex index = (cell.Col - 1) * 5 + cell.Row - 1;
        if (cell.IsFree()) {
            cell.SetLetter({});
            board.Letters[index] = EmptyCell;
        } else {
            const int letter = CodePage::FoldCase(static_cast<unsigned char>(cell.Letter()[0])) -
                               Words.FirstLetter;
            board.Letters[index] = letter >= 0 && letter < Words.AlphabetSize()
                                       ? static_cast<unsigned char>(letter)
                                       : ForeignLetter;
        }
        UnselectCell(cell);
    });
    return board;
}

} // namespace

void TMainWindow::ComputerMove() {
    StopSearch = 0;
    const quint32 game = GameNumber;
    if (NetState == 2 && !AdviceMode) {
        SendMove(false);
        return;
    }
    MoveState = 2;
    ShowWaiting();
    Slowo->SetCaption({});

    const auto request = MakeSearchRequest(Words, Strength, AdviceMode, UsedWords.Words());
    const TSearchBoard board = SnapshotBoard(Cells);
    TComputerListener listener(*this, game,
                               [this](const TFoundMove& best) { ShowSearchBoard(best); });
    const TSearchOutcome outcome = SearchBestMove(board, request, &listener);
    if (outcome.Stopped)
        return;

    SettleBoard();
    if (outcome.Best.Found()) {
        SkipCount = 0;
        CreditWord(AdviceMode ? 1 : 2, outcome.Best.Word);
        PlaySoundEffect(SoundApply, true);
        if (AdviceMode && NetState == 2)
            SendMove(false);
        AdviceMode = 0;
    } else {
        ++SkipCount;
        if (!AdviceMode)
            ShowFace(5);
        Slowo->SetCaption("? ? ?");
        WaitTicks(9);
    }
    // A new game started during the pause owns the board now.
    if (StopRequested(game))
        return;
    ClearSelection(Cells);
    Slowo->SetCaption({});
    ShowFace(0);
    SkipButton->setEnabled(true);
    AdviceButton->setEnabled(true);
    setWindowTitle(GetTextU("Title"));
    if (IsGameOver() && NetState < 2)
        GameOver();
    MoveState = 0;
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
    FormClose();
}

// A running computer search stops at its next look at StopSearch; the close goes ahead.
void TMainWindow::FormCloseQuery() {
    StopSearch = 1;
}

void TMainWindow::FormClose() {
    // A settings file that cannot be written is reported, and the program still closes.
    TSafeApplication::Guard([] { SettingsFile->SaveSettings(); });
    TSafeApplication::Guard(WriteWinners);
}

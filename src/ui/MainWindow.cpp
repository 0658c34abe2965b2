#include "ui/MainWindow.h"

#include "dictionary/Dictionary.h"
#include "net/NetGame.h"
#include "net/WebAddresses.h"
#include "net/WebServices.h"
#include "platform/CodePage.h"
#include "platform/LinkButton.h"
#include "platform/TexturedLabel.h"
#include "settings/RunData.h"
#include "settings/Settings.h"
#include "ui/ConnectionWindow.h"
#include "ui/DesktopShortcut.h"
#include "ui/Presentation.h"

#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

// The client area: it tiles the main background behind every control.
class TClientArea : public QWidget {
public:
    TClientArea(const TSkins& skins, QWidget* parent) : QWidget(parent), skins_(skins) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        TileTexture(painter, rect(), skins_[SlotMainBackground]);
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

    const TSkins& skins_;
};

// What the game makes heard, through the sound switch of the menu.
class TGameSounds : public IGameEffects {
public:
    explicit TGameSounds(TSoundEffects& sounds) : sounds_(sounds) {}
    void Play(TSound sound) override { sounds_.PlaySoundEffect(static_cast<int>(sound)); }
    int PlayWaited(TSound sound) override {
        return sounds_.PlayWaitedSound(static_cast<int>(sound));
    }

private:
    TSoundEffects& sounds_;
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
                if (window_->MainActive == 1)
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

TTexturedLabel* MakeLabel(QWidget* parent, QRect geometry, QFont font, QColor color) {
    auto* label = new TTexturedLabel(parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->SetFontColor(color);
    return label;
}

QByteArray LetterOf(const TTexturedButton* button) {
    return CodePage::FromUnicode(button->Caption());
}

} // namespace

TMainWindow::TMainWindow(TPresentation& look, TRunData& data, std::function<void()> progress,
                         QWidget* parent)
    : QMainWindow(parent), look_(look), data_(data), progress_(std::move(progress)),
      effects_(std::make_unique<TGameSounds>(look.Sounds)) {
    Game = new TGame(data_.Words, *effects_, this);
    NetGame = new TNetGame(*Game, *this, look_.Texts, look_.Messages, this);
    client_ = new TClientArea(look_.Skins, this);
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
    PollTimer = new QTimer(this);
    PollTimer->setInterval(100);
    connect(PollTimer, &QTimer::timeout, this, &TMainWindow::Poll);
    look_.Sounds.SoundOn = [this] { return Menu_Sound->isChecked(); };
    data_.Words.CountsChanged = [this] { ShowWordCounts(); };

    FormCreate();

    client_->setFixedSize(ClientWidth, ClientHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    move(screen()->availableGeometry().center() - rect().center());
}

// Each Progress() is one step of the start-up's progress: ten in all.
void TMainWindow::FormCreate() {
    versionCheck_ = new TVersionCheck(look_.Texts, look_.Messages, this);
    Progress();
    look_.Skins.RegisterSkinned(this, [this] { DressMainWindow(*this, look_.Skins); });
    Progress();
    qApp->installEventFilter(rightButtonFilter_);
    CreateWordLabels();
    Progress();
    CreateLetters();
    Progress();
    CreateCells();
    ConnectGame();
    Progress();
    look_.Messages.Guard([this] { ReadWinners(data_.Winners, data_.Folder); });
    LoadSettings();
    look_.Faces.LoadFaces();
    Progress();
    ArrangeLetters();
    Progress();
    LoadBothDictionaries();
    look_.Messages.Guard([this] { Menu_NewGameClick(); });
    look_.Skins.LoadSkinImages();
    Progress();
    look_.Skins.ApplySkins();
    PollTimer->start();
}

// The HTTP client and the other windows belong to this window and go with it.
TMainWindow::~TMainWindow() {
    Game->Stop();
    // The peer is told goodbye while the windows that its events reach still exist.
    ReleaseSession(*this);
    qApp->removeEventFilter(rightButtonFilter_);
    look_.Sounds.SoundOn = [] { return true; };
    data_.Words.CountsChanged = nullptr;
}

void TMainWindow::CreateControls() {
    client_->resize(ClientWidth, ClientHeight);
    AdviceButton = new TTexturedButton(client_);
    AdviceButton->setGeometry(20, 10, 100, 30);
    SkipButton = new TTexturedButton(client_);
    SkipButton->setGeometry(20, 50, 100, 30);
    for (TTexturedButton* button : {AdviceButton, SkipButton}) {
        button->setFont(DefaultFont(11, true));
        button->SetFontColor(QColor(200, 200, 255));
    }
    connect(AdviceButton, &TTexturedButton::Clicked, this, [this] { Game->Advice(); });
    connect(SkipButton, &TTexturedButton::Clicked, this, [this] { Game->Skip(); });

    QFont small("Small Fonts");
    small.setPointSize(7);
    CreditLabel = MakeLabel(client_, {193, 15, 201, 11}, small, Qt::white);
    CreditLabel->SetTransparent(true);
    CreditLabel->SetCaption("Kordi 2000 v2.01");

    WordLabel =
        MakeLabel(client_, {193, 40, 200, 40}, DefaultFont(14, false), QColor(200, 200, 255));
    WordLabel->SetBevels(TTexturedLabel::Bevel::Raised, TTexturedLabel::Bevel::Lowered);

    const QColor scoreColor(239, 255, 239);
    OwnScoreLabel = MakeLabel(client_, {125, 60, 50, 20}, DefaultFont(12, true), scoreColor);
    OpponentScoreLabel = MakeLabel(client_, {400, 60, 50, 20}, DefaultFont(12, true), scoreColor);
    OwnScoreLabel->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    OpponentScoreLabel->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (TTexturedLabel* score : {OwnScoreLabel, OpponentScoreLabel})
        score->SetTransparent(true);

    FaceFrame = new QFrame(client_);
    FaceFrame->setGeometry(455, 8, 104, 74);
    FaceFrame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ComputerFace = new QLabel(client_);
    ComputerFace->setGeometry(457, 10, 100, 70);
    ComputerFace->setAlignment(Qt::AlignCenter);
    StrengthLabel =
        MakeLabel(client_, {460, 10, 10, 20}, DefaultFont(8, false), QColor(180, 105, 255));
    StrengthLabel->SetTransparent(true);
    StrengthLabel->SetCaption("0");

    const QColor playerColor(212, 255, 127);
    OwnNameLabel = MakeLabel(client_, {20, 87, 140, 21}, DefaultFont(10, true), playerColor);
    PeerNameLabel = MakeLabel(client_, {420, 87, 140, 21}, DefaultFont(10, true), playerColor);
    for (TTexturedLabel* player : {OwnNameLabel, PeerNameLabel}) {
        player->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        player->SetTransparent(true);
        player->hide();
    }

    OwnWordsPanel = new TTexturedLabel(client_);
    OwnWordsPanel->setGeometry(20, 115, 140, 205);
    OpponentWordsPanel = new TTexturedLabel(client_);
    OpponentWordsPanel->setGeometry(420, 115, 140, 205);
    for (TTexturedLabel* panel : {OwnWordsPanel, OpponentWordsPanel})
        panel->SetBevels(TTexturedLabel::Bevel::Raised, TTexturedLabel::Bevel::Lowered);
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

QString TextOf(const TTexts& texts, const QObject* item) {
    return texts.GetTextU(item->objectName().toLatin1());
}

void RelabelItems(const TTexts& texts, QMenu* menu) {
    menu->setTitle(TextOf(texts, menu));
    for (QAction* item : menu->actions()) {
        if (QMenu* submenu = item->menu())
            RelabelItems(texts, submenu);
        else if (!item->isSeparator())
            item->setText(TextOf(texts, item));
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
    Menu_Review = AddItem(Menu_Game, "Menu_Review", "Review last game");
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
    Menu_CompanionSite = AddItem(Menu_Help, "Menu_tekomiro1", WebAddresses::CompanionSiteLabel);
    Menu_InternetChat = AddItem(Menu_Help, "Menu_InternetChat", "inet-chat");
    Menu_CreateShortcut = AddItem(Menu_Help, "Menu_CreateShortcut", "Shortcut");

    connect(Menu_NewGame, &QAction::triggered, this, &TMainWindow::Menu_NewGameClick);
    connect(Menu_Exit, &QAction::triggered, this, &QWidget::close);
    connect(Menu_CPU, &QAction::triggered, this, &TMainWindow::Menu_CPUClick);
    connect(Menu_Review, &QAction::triggered, this, &TMainWindow::Menu_ReviewClick);
    connect(Menu_Connect, &QAction::triggered, this, &TMainWindow::Menu_ConnectClick);
    connect(Menu_DisConnect, &QAction::triggered, this, &TMainWindow::Menu_DisConnectClick);
    connect(Menu_Chat, &QAction::triggered, this, &TMainWindow::Menu_ChatClick);
    // The desktop's own viewer opens the help page and the maker's web pages.
    connect(Menu_Help1, &QAction::triggered, this,
            [this] { QDesktopServices::openUrl(HelpPage(data_.Folder, data_.Words)); });
    for (const auto& [item, address] : {std::pair{Menu_Visit, WebAddresses::HomePage},
                                        {Menu_CompanionSite, WebAddresses::CompanionSite},
                                        {Menu_InternetChat, WebAddresses::InetChat}})
        connect(item, &QAction::triggered, this,
                [url = QUrl(address)] { QDesktopServices::openUrl(url); });
    connect(Menu_CreateShortcut, &QAction::triggered, this,
            [this] { CreateDesktopShortcut(data_.Folder); });
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
    NetStateIcon->setPixmap(NetIcon(NetGame->State()));
}

void TMainWindow::RelabelMainWindow() {
    setWindowTitle(GetTextU("Title"));
    for (QAction* menu : menuBar()->actions())
        if (menu->menu())
            RelabelItems(look_.Texts, menu->menu());
    ShowWordCounts();
    SkipButton->SetCaption(GetTextU("SkipButton"));
    AdviceButton->SetCaption(GetTextU("AdviceButton"));
}

QString TMainWindow::GetTextU(QByteArrayView key) const {
    return look_.Texts.GetTextU(key);
}

void TMainWindow::ShowWordCounts() {
    for (int language : {1, 2}) {
        QAction* item = LanguageItem(language);
        item->setText(TextOf(look_.Texts, item) + " " +
                      QString::number(data_.Words.WordCount[language]));
    }
}

void TMainWindow::CreateWordLabels() {
    for (int player = 1; player <= 2; ++player) {
        TTexturedLabel* panel = player == 1 ? OwnWordsPanel : OpponentWordsPanel;
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
        auto* button = new TTexturedButton(client_);
        button->resize(34, 34);
        button->setFont(DefaultFont(16, true));
        connect(button, &TTexturedButton::Pressed, this,
                [this, button](Qt::MouseButton) { Game->PickLetter(LetterOf(button)); });
        LetterButtons[i] = button;
    }
}

void TMainWindow::CreateCells() {
    // Cells are placed against the outer width of the frame, as the layout was drawn.
    CreateBoard(Cells, client_, FormWidth);
    ForEachCell(Cells, [this](TBoardCell& cell) {
        connect(&cell, &TBoardCell::Clicked, this, [this, &cell] { Game->ClickCell(cell.Pos()); });
        connect(&cell, &TBoardCell::Entered, this,
                [this](TBoardCell* entered) { Game->Hover(entered->Pos()); });
        connect(&cell, &TBoardCell::Left, this, [this] { Game->Unhover(); });
    });
}

// Both dictionaries are read once, so both language items show a count; the current
// language's is read last and stays in memory.
void TMainWindow::LoadBothDictionaries() {
    const quint16 current = data_.Words.Language;
    for (const quint16 language : {quint16(3 - current), current}) {
        data_.Words.Language = language;
        look_.Messages.Guard([this] { data_.Words.LoadWords(data_.Folder); });
        Progress();
    }
}

void TMainWindow::Progress() {
    if (progress_)
        progress_();
}

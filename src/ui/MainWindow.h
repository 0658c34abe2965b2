#pragma once
// The main window: a view of the game (board, letter buttons, word lists, scores, the
// computer's face) that hands the person's input to it, and the menu that reaches every
// other window.

#include "game/Game.h"
#include "net/NetGame.h"
#include "platform/Checked.h"
#include "ui/BoardCell.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QTimer;
class QMenu;
class QAction;
class QActionGroup;
class QFrame;
class TTexturedButton;
class TLinkButton;
class TVersionCheck;
class TSessionService;
class TReviewWindow;
class TChatWindow;
class TConnectionWindow;
class TTexturesWindow;
class TStrengthWindow;
class TQuestionWindow;
class TRecordsWindow;
class TAboutWindow;
class TResultWindow;
struct TPresentation;
struct TRunData;

class TMainWindow : public QMainWindow, public INetGameHost {
    Q_OBJECT
public:
    // The outer size of the window frame that the layout rules are measured against.
    static constexpr int FormWidth = 588;
    static constexpr int FormHeight = 456;
    static constexpr int ClientWidth = 580;
    static constexpr int ClientHeight = 410;
    static constexpr int WordRows = 15;

    // The window and every window it makes wear the skins of `look` and play its sounds,
    // and keep the player's data in `data`. `progress` is called at each of the ten steps of
    // the window's creation.
    TMainWindow(TPresentation& look, TRunData& data, std::function<void()> progress = {},
                QWidget* parent = nullptr);
    ~TMainWindow() override;

    // The game this window shows, and its side of a network game.
    TGame* Game;
    TNetGame* NetGame;

    // Controls.
    TTexturedButton* AdviceButton;
    TTexturedButton* SkipButton;
    TTexturedLabel* CreditLabel;
    TTexturedLabel* WordLabel;
    TTexturedLabel* OwnScoreLabel;
    TTexturedLabel* OpponentScoreLabel;
    QFrame* FaceFrame;
    QLabel* ComputerFace;
    TTexturedLabel* StrengthLabel;
    TTexturedLabel* OwnNameLabel;
    TTexturedLabel* PeerNameLabel;
    TTexturedLabel* OwnWordsPanel;
    TTexturedLabel* OpponentWordsPanel;
    CheckedArray<TTexturedButton*, 1, 32> LetterButtons;
    CheckedArray<CheckedArray<TTexturedLabel*, 1, WordRows>, 1, 2> WordLabels;
    TCells Cells;
    QTimer* PollTimer;

    // The caption decoration at the right end of the menu bar.
    TLinkButton* LinkButton;
    QLabel* NetStateIcon;

    // The menu. Items whose windows belong to other units are connected by those units when
    // their windows are created. The language items carry their number as data (the tag):
    // 1 Russian, 2 English; 10 more while the network game switches without a new game.
    QMenu* Menu_Game;
    QAction* Menu_NewGame;
    QAction* Menu_Records;
    QAction* Menu_Review;
    QAction* Menu_Exit;
    QMenu* Menu_Options;
    QMenu* Menu_Chooselanguage;
    QActionGroup* LanguageItems;
    QAction* Menu_Russian;
    QAction* Menu_English;
    QAction* Menu_CPU;
    QAction* Menu_Textures;
    QAction* Menu_Sound;
    QMenu* Menu_NetPlay;
    QAction* Menu_Connect;
    QAction* Menu_DisConnect;
    QAction* Menu_Chat;
    QMenu* Menu_Help;
    QAction* Menu_Help1;
    QAction* Menu_About;
    QAction* Menu_Visit;
    QAction* Menu_CompanionSite;
    QAction* Menu_InternetChat;
    QAction* Menu_CreateShortcut;

    // The network session of the last Connect; none before it and after Disconnect.
    TSessionService* NetSession = nullptr;

    // The other windows, children of this one, made by the Create functions below after it.
    TChatWindow* ChatWindow = nullptr;
    TConnectionWindow* ConnectionWindow = nullptr;
    TTexturesWindow* TexturesWindow = nullptr;
    TStrengthWindow* StrengthWindow = nullptr;
    TQuestionWindow* QuestionWindow = nullptr;
    TRecordsWindow* RecordsWindow = nullptr;
    TAboutWindow* AboutWindow = nullptr;
    TResultWindow* ResultWindow = nullptr;
    // 1 while none of the strength, question, records and result windows is active.
    quint8 MainActive = 1;

    // Each makes one window and hands it what it works on. The chat window needs the
    // connection window and the records window the question window, made before them.
    void CreateConnectionWindow();
    void CreateChatWindow();
    void CreateTexturesWindow();
    void CreateStrengthWindow();
    void CreateQuestionWindow();
    void CreateRecordsWindow();
    void CreateAboutWindow();
    void CreateResultWindow();

    quint16 Ticks = 0;
    quint8 Hidden = 0;

    void StartGame(bool local, const QByteArray& startWord = {});
    void ShowFace(int index);
    void ArrangeLetters();
    // Captions of the window, its menus and buttons in the current language.
    void RelabelMainWindow();
    // The text of the key in the current language, decoded for display.
    QString GetTextU(QByteArrayView key) const;
    // The language items' captions: their text and their dictionary's word count.
    void ShowWordCounts();
    // Menu_Russian for 1, Menu_English for 2.
    QAction* LanguageItem(int language) const;
    // The network-state icon for the network game's state; called whenever it changes.
    void ShowNetState() override;
    // The computer's face and strength are shown for a game against the computer and hidden
    // while a peer is present.
    void ShowComputerOpponent(bool shown);

    // What the network game asks of the window.
    TSessionService* Session() const override { return NetSession; }
    void AddChatLine(const QByteArray& line) override;
    void PlaySound(TSound sound) override;
    void ShowPeer(const QByteArray& name) override;
    void FollowLanguage(int language) override;
    void LeaveSession() override { Menu_DisConnectClick(); }
    // Reads the "Kordi", "Images" and "NetPlay" sections of the settings file into the
    // running program and relabels the window in the language read.
    void LoadSettings();
    // Writes the three settings sections from the running program; the first key that cannot
    // be written raises IoError and the rest are not written.
    void SaveSettings() const;
    // Shows the game as it is now.
    void ShowGame();
    // The reaction to the hide keys: hides every shown window, or shows them again as they
    // were. No window is ended by it.
    void ToggleHidden();

    // Handlers.
    void Menu_NewGameClick();
    // The language switch of both language items; a tag of 10 or more starts no new game.
    // Either the whole switch happens or, when the new dictionary or the settings cannot be
    // read or written, nothing changes and the error is raised.
    void Menu_RussianClick(QAction* item);
    void Menu_CPUClick();
    // The review of the last game that ended, in a window beside the game.
    void Menu_ReviewClick();
    // Network play: the connection window, leaving the session, the chat window, and the
    // switch of the main window to a game against the peer (ui/ConnectionWindow.cpp,
    // ui/ChatWindow.cpp).
    void Menu_ConnectClick();
    void Menu_DisConnectClick();
    void Menu_ChatClick();
    void ShowConnected();
    // The end of a game against the computer: the result window, then the records window,
    // each opened when the one before has closed; `then` runs when the records window closes.
    void ShowGameResult(std::function<void()> then);
    // Each tick of PollTimer: the hide keys, the strength caption, now and then the statistics.
    void Poll();
    // The right-button reaction of the application-wide filter.
    void AppOnMessage();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void Progress();
    void FormClose();
    void CreateControls();
    void CreateMenu();
    void CreateLanguageMenu();
    void CreateCaptionDecoration();
    void CreateWordLabels();
    void CreateLetters();
    void CreateCells();
    void ConnectGame();
    void LoadBothDictionaries();
    void ShowCell(TBoardCell& cell);
    void ShowLetters();
    void ShowWords();
    void AskToAddWord(const QByteArray& word);

    TPresentation& look_;
    TRunData& data_;
    std::function<void()> progress_;
    // The serial cable's last choice, offered again at each Connect of the run.
    std::optional<TSerialCableSetting> cableChoice_;
    TVersionCheck* versionCheck_ = nullptr;
    std::unique_ptr<IGameEffects> effects_;
    bool waitingShown_ = false;
    int faceShown_ = -1;
    bool addWordAsked_ = false;
    TReviewWindow* reviewWindow_ = nullptr;
    QWidget* client_;
    QList<QPointer<QWidget>> hiddenWindows_;
    QObject* rightButtonFilter_;
};

#pragma once
// The main window: it owns the board, the letter buttons, the word lists and the state of
// the game, and runs the turns against the computer.

#include "core/PoleUnit.h"
#include "core/SpisokUnit.h"
#include "platform/Checked.h"

#include <QMainWindow>

class QLabel;
class QTimer;
class QMenu;
class QAction;
class QActionGroup;
class QFrame;
class TCoolButton;
class TLinkButton;
class TDXPlay;
struct TFoundMove;

// 1 while none of the strength, question, records and result windows is active.
extern quint8 MainActive;
// 0 no session, 1 a session without a peer, 2 a peer present.
extern int NetState;

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The outer size of the window frame that the layout rules are measured against.
    static constexpr int FormWidth = 588;
    static constexpr int FormHeight = 456;
    static constexpr int ClientWidth = 580;
    static constexpr int ClientHeight = 410;
    static constexpr int WordRows = 15;

    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    // Controls.
    TCoolButton* AdviceButton;
    TCoolButton* SkipButton;
    TCoolLabel* CoolLabel1;
    TCoolLabel* Slowo;
    TCoolLabel* Score1;
    TCoolLabel* Score2;
    QFrame* CoolBevel1;
    QLabel* CPUface;
    TCoolLabel* StrongLabel;
    TCoolLabel* Player0;
    TCoolLabel* Player1;
    TCoolLabel* CoolPanel1;
    TCoolLabel* CoolPanel2;
    CheckedArray<TCoolButton*, 1, 32> letters;
    CheckedArray<CheckedArray<TCoolLabel*, 1, WordRows>, 1, 2> WordLabels;
    TCells Cells;
    QTimer* Timer;

    // The caption decoration at the right end of the menu bar.
    TLinkButton* LinkButton;
    QLabel* NetStateIcon;

    // The menu. Items whose windows belong to other units are connected by those units when
    // their windows are created. The language items carry their number as data (the tag):
    // 1 Russian, 2 English; 10 more while the network game switches without a new game.
    QMenu* Menu_Game;
    QAction* Menu_NewGame;
    QAction* Menu_Records;
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
    QAction* Menu_tekomiro1;
    QAction* Menu_InternetChat;
    QAction* Menu_CreateShortcut;

    // The network session of the last Connect; none before it and after Disconnect.
    TDXPlay* DXPlay = nullptr;

    // The computer's strength: the longest word it may play, 3..8.
    int Strength = 8;

    // Game state.
    quint8 MoveState = 0;
    QByteArray ChosenLetter;
    quint16 NewCol = 1, NewRow = 1;
    quint16 HotCol = 1, HotRow = 1;
    quint16 LastCol = 1, LastRow = 1;
    quint8 MouseOnCell = 0;
    CheckedArray<quint16, 1, 2> Scores;
    TUsedWords UsedWords;
    qint32 SkipCount = 0;
    quint8 AdviceMode = 0;
    quint8 StopSearch = 0;
    quint8 StartedHere = 1;
    quint16 Ticks = 0;
    quint8 Hidden = 0;
    // Counts the games started; a search that outlives its game must not touch the next one.
    quint32 GameNumber = 0;

    // Turn flow.
    void StartGame(bool local, const QByteArray& startWord = {});
    void CreditWord(int player, const QByteArray& word);
    bool IsGameOver() const;
    void GameOver();
    void ComputerMove();
    void WaitTicks(int n);
    void ShowWaiting();
    void ShowScores();
    void ShowFace(int index);
    void ArrangeLetters();
    // Captions of the window, its menus and buttons in the current language.
    void RelabelMainWindow();
    // The language items' captions: their text and their dictionary's word count.
    void ShowWordCounts();
    // Menu_Russian for 1, Menu_English for 2.
    QAction* LanguageItem(int language) const;
    // The network-state icon for the current NetState; called whenever NetState changes.
    void ShowNetState();

    // Handlers.
    void Menu_NewGameClick();
    // The language switch of both language items; a tag of 10 or more starts no new game.
    void Menu_RussianClick(QAction* item);
    void Menu_CPUClick();
    // Network play: the connection window, leaving the session, the chat window, and the
    // switch of the main window to a game against the peer (net/Config.cpp, net/ChatUnit.cpp).
    void Menu_ConnectClick();
    void Menu_DisConnectClick();
    void Menu_ChatClick();
    void ShowConnected();
    void SkipButtonClick();
    void AdviceButtonClick();
    void TimerTimer();
    void PoleClick(Tpole* cell);
    void PoleEnter(Tpole* cell);
    void PoleLeave(Tpole* cell);
    void lettersOnMouseDown(TCoolButton* button);
    // The right-button reaction of the application-wide filter.
    void AppOnMessage();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormCloseQuery();
    void FormClose();
    void FormDestroy();
    void CreateControls();
    void CreateMenu();
    void CreateLanguageMenu();
    void CreateCaptionDecoration();
    void CreateWordLabels();
    void CreateLetters();
    void CreateCells();
    void LoadBothDictionaries();
    QByteArray RandomStartWord() const;
    void ClearWordLists();
    void SubmitWord();
    void RefusalBlink();
    void AcceptWord(bool withSound);
    void ContinueAfterWord();
    void TakeBackLetter();
    void ShowSearchBoard(const TFoundMove& best);
    void SettleBoard();
    void ToggleHidden();
    bool StopRequested(quint32 game) const { return StopSearch || game != GameNumber; }

    QWidget* client_;
    QList<QWidget*> hiddenWindows_;
    QObject* rightButtonFilter_;
};

extern TMainWindow* MainWindow;

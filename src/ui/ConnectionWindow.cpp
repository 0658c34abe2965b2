#include "ui/ConnectionWindow.h"

#include "net/NetGame.h"
#include "net/SerialCableDialog.h"
#include "net/SessionService.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/MainWindow.h"
#include "ui/Presentation.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>

namespace {

const QByteArray ProposedSessionName = "KORDI 2000 v2.01 (release 14-08-2001)";

QLabel* MakeLabel(QWidget* parent, QRect geometry, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setStyleSheet("color: white");
    return label;
}

template <typename T> T* Place(T* widget, QRect geometry) {
    widget->setGeometry(geometry);
    return widget;
}

// A control that waits for a search is disabled on the grey of a button face.
void SetUsable(QWidget* control, bool usable) {
    control->setEnabled(usable);
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base,
                     usable ? QColor(Qt::white) : QApplication::palette().color(QPalette::Button));
    control->setPalette(palette);
}

// Back to a game against the computer without a session: what Disconnect does but the
// new game.
void EndSession(TMainWindow& main) {
    ReleaseSession(main);
    main.NetGame->Forget();
    main.NetGame->SetNetState(0);
    main.Menu_Connect->setEnabled(true);
    main.Menu_DisConnect->setEnabled(false);
    main.ShowComputerOpponent(true);
    main.OwnNameLabel->hide();
    main.PeerNameLabel->hide();
}

} // namespace

TConnectionWindow::TConnectionWindow(TPresentation& look, TNetPlayFields& fields, QWidget* parent)
    : TSkinnedDialog(look, parent, 300, 340) {
    ProviderList = Place(new QComboBox(this), {10, 10, 280, 22});
    CreateProviderPages();
    SessionsLabel = MakeLabel(this, {10, 104, 280, 16});
    SessionListBox = Place(new QListWidget(this), {10, 122, 280, 80});
    SessionNameLabel = MakeLabel(this, {10, 208, 280, 16});
    SessionNameEdit = Place(new QLineEdit(this), {10, 226, 280, 22});
    PlayerNameLabel = MakeLabel(this, {10, 254, 280, 16});
    PlayerNameEdit = Place(new QLineEdit(this), {10, 272, 280, 22});
    PlayerNameEdit->setMaxLength(31);
    JoinButton = MakeButton(this, {10, 302, 88, 28}, true);
    HostButton = MakeButton(this, {106, 302, 88, 28}, true);
    CancelButton = MakeButton(this, {202, 302, 88, 28}, true);

    connect(ProviderList, &QComboBox::currentIndexChanged, this,
            &TConnectionWindow::ProviderListChange);
    connect(TCPIPConnectButton, &TTexturedButton::Clicked, this,
            &TConnectionWindow::TCPIPConnectButtonClick);
    connect(ModemConnectButton, &TTexturedButton::Clicked, this,
            &TConnectionWindow::ModemConnectButtonClick);
    connect(OtherConnectButton, &TTexturedButton::Clicked, this,
            &TConnectionWindow::OtherConnectButtonClick);
    connect(SessionListBox, &QListWidget::itemClicked, this,
            &TConnectionWindow::SessionListBoxClick);
    connect(SessionNameEdit, &QLineEdit::textChanged, this,
            &TConnectionWindow::SessionNameEditChange);
    connect(PlayerNameEdit, &QLineEdit::textChanged, this,
            &TConnectionWindow::SessionNameEditChange);
    connect(JoinButton, &TTexturedButton::Clicked, this, &TConnectionWindow::JoinButtonClick);
    connect(HostButton, &TTexturedButton::Clicked, this, &TConnectionWindow::HostButtonClick);
    connect(CancelButton, &TTexturedButton::Clicked, this, &QDialog::reject);
    FormCreate(fields);
}

void TConnectionWindow::CreateProviderPages() {
    ProviderSetting = Place(new QStackedWidget(this), {10, 38, 280, 60});
    DefaultPage = new QWidget;
    DefaultPage->setObjectName("Default");
    OtherConnectButton = MakeButton(DefaultPage, {215, 12, 65, 30}, true);

    ProviderSettingTCPIP = new QWidget;
    ProviderSettingTCPIP->setObjectName("ProviderSettingTCPIP");
    MakeLabel(ProviderSettingTCPIP, {0, 2, 130, 16}, "HostName / IP");
    TCPIPHostName = Place(new QLineEdit(ProviderSettingTCPIP), {0, 20, 130, 22});
    MakeLabel(ProviderSettingTCPIP, {138, 2, 70, 16}, "Port");
    TCPIPPort = Place(new QSpinBox(ProviderSettingTCPIP), {138, 20, 70, 22});
    TCPIPPort->setRange(0, 65535);
    TCPIPConnectButton = MakeButton(ProviderSettingTCPIP, {215, 12, 65, 30}, true);

    ProviderSettingModem = new QWidget;
    ProviderSettingModem->setObjectName("ProviderSettingModem");
    MakeLabel(ProviderSettingModem, {0, 2, 130, 16}, "Telephone Number");
    ModemPhoneNumber = Place(new QLineEdit(ProviderSettingModem), {0, 20, 130, 22});
    MakeLabel(ProviderSettingModem, {138, 2, 70, 16}, "Modem");
    ModemComboBox = Place(new QComboBox(ProviderSettingModem), {138, 20, 70, 22});
    ModemConnectButton = MakeButton(ProviderSettingModem, {215, 12, 65, 30}, true);

    for (QWidget* page : {DefaultPage, ProviderSettingTCPIP, ProviderSettingModem})
        ProviderSetting->addWidget(page);
}

// The address and name come from the settings, and every change goes back to them.
void TConnectionWindow::FormCreate(TNetPlayFields& fields) {
    TCPIPPort->setValue(std::clamp(fields.Port, 0, 65535));
    TCPIPHostName->setText(CodePage::ToUnicode(fields.HostName));
    PlayerNameEdit->setText(CodePage::ToUnicode(fields.Name));
    connect(TCPIPPort, &QSpinBox::valueChanged, this, [&fields](int port) { fields.Port = port; });
    connect(TCPIPHostName, &QLineEdit::textChanged, this,
            [&fields](const QString& text) { fields.HostName = CodePage::FromUnicode(text); });
    connect(PlayerNameEdit, &QLineEdit::textChanged, this,
            [&fields](const QString& text) { fields.Name = CodePage::FromUnicode(text); });
}

void TConnectionWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    SessionNameEdit->setText(CodePage::ToUnicode(ProposedSessionName));
    setWindowTitle(GetTextU("Menu_Connect"));
    SessionsLabel->setText(GetTextU("Net_SessionsList"));
    SessionNameLabel->setText(GetTextU("Net_SessionName"));
    PlayerNameLabel->setText(GetTextU("Net_PlayerName"));
    JoinButton->SetCaption(GetTextU("Net_Join"));
    HostButton->SetCaption(GetTextU("Net_Host"));
    CancelButton->SetCaption(GetTextU("Cancel"));
    for (TTexturedButton* go : {TCPIPConnectButton, ModemConnectButton, OtherConnectButton})
        go->SetCaption(GetTextU("Go"));
    {
        const QSignalBlocker quiet(ProviderList);
        ProviderList->clear();
        for (const TSessionProvider& provider : TSessionService::Providers())
            ProviderList->addItem(provider.Name, QVariant::fromValue(provider.Guid));
        ProviderList->setCurrentIndex(0);
    }
    ProviderListChange();
}

void TConnectionWindow::ProviderListChange() {
    SessionListBox->clear();
    NetSession->SelectProvider({});
    JoinButton->setEnabled(false);
    HostButton->setEnabled(false);
    for (QWidget* control :
         std::initializer_list<QWidget*>{SessionListBox, SessionNameEdit, PlayerNameEdit})
        SetUsable(control, false);
    const QUuid provider = ProviderList->currentData().value<QUuid>();
    if (provider == DPSPGUID_TCPIP)
        ProviderSetting->setCurrentWidget(ProviderSettingTCPIP);
    else if (provider == DPSPGUID_MODEM)
        ShowModemPage();
    else
        ProviderSetting->setCurrentWidget(DefaultPage);
}

void TConnectionWindow::ShowModemPage() {
    ProviderSetting->setCurrentWidget(ProviderSettingModem);
    if (ModemComboBox->count() > 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    ModemComboBox->addItems(TSessionService::Modems());
    ModemComboBox->setCurrentIndex(ModemComboBox->count() > 0 ? 0 : -1);
}

void TConnectionWindow::UseSession(TSessionService* play) {
    if (NetSession)
        NetSession->disconnect(this);
    NetSession = play;
    connect(play, &TSessionService::SessionsFound, this, &TConnectionWindow::SessionsFound);
    connect(play, &TSessionService::SearchFailed, this, &TConnectionWindow::SearchFailed);
    connect(play, &TSessionService::Joined, this, &TConnectionWindow::Joined);
    connect(play, &TSessionService::JoinFailed, this, &TConnectionWindow::JoinFailed);
}

void TConnectionWindow::Go(const std::function<void()>& applySettings) {
    SessionListBox->clear();
    try {
        applySettings();
        NetSession->SelectProvider(ProviderList->currentText());
    } catch (const KordiError& error) {
        ShowFailure(this, error.Text());
        return;
    }
    RefreshSessions();
}

void TConnectionWindow::TCPIPConnectButtonClick() {
    Go([this] {
        NetSession->TCPIPSetting = {TCPIPHostName->text(), static_cast<quint16>(TCPIPPort->value()),
                                    true};
    });
}

// A missing modem is refused before anything changes.
void TConnectionWindow::ModemConnectButtonClick() {
    const TModemSetting setting{ModemPhoneNumber->text(), ModemComboBox->currentText(), true};
    Go([this, setting] {
        TSessionService::CheckModemSetting(setting);
        NetSession->ModemSetting = setting;
    });
}

void TConnectionWindow::OtherConnectButtonClick() {
    Go([] {});
}

void TConnectionWindow::RefreshSessions() {
    SetBusy(true);
    NetSession->SearchSessions();
}

void TConnectionWindow::SessionsFound(const QList<QByteArray>& names) {
    SetBusy(false);
    for (const QByteArray& name : names)
        SessionListBox->addItem(CodePage::ToUnicode(name));
    const bool found = SessionListBox->count() > 0;
    JoinButton->setEnabled(found);
    HostButton->setEnabled(true);
    if (found)
        SetUsable(SessionListBox, true);
    SetUsable(SessionNameEdit, true);
    SetUsable(PlayerNameEdit, true);
    SessionNameEditChange();
}

// Join and Host stay disabled until a search succeeds; a cancelled provider dialog shows
// nothing.
void TConnectionWindow::SearchFailed(const QString& text) {
    SetBusy(false);
    if (!text.isEmpty())
        ShowFailure(this, text);
}

void TConnectionWindow::SetBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    ProviderList->setEnabled(!busy);
    ProviderSetting->setEnabled(!busy);
    if (busy) {
        JoinButton->setEnabled(false);
        HostButton->setEnabled(false);
    }
}

void TConnectionWindow::reject() {
    if (busy_ && NetSession)
        NetSession->Close();
    SetBusy(false);
    TSkinnedDialog::reject();
}

void TConnectionWindow::SessionListBoxClick(QListWidgetItem* item) {
    SessionNameEdit->setText(item->text());
}

void TConnectionWindow::SessionNameEditChange() {
    const QString name = SessionNameEdit->text();
    // Fixed-string matching ignores case.
    const bool listed = !SessionListBox->findItems(name, Qt::MatchFixedString).isEmpty();
    const bool named = !name.isEmpty() && !PlayerNameEdit->text().isEmpty();
    JoinButton->setEnabled(named && listed);
    HostButton->setEnabled(named && !listed);
}

void TConnectionWindow::JoinButtonClick() {
    SetBusy(true);
    NetSession->Join(CodePage::FromUnicode(SessionNameEdit->text()),
                     CodePage::FromUnicode(PlayerNameEdit->text()));
}

void TConnectionWindow::Joined() {
    SetBusy(false);
    emit Connected(2);
    accept();
}

// The window stays open for another try.
void TConnectionWindow::JoinFailed(const QString& text) {
    SetBusy(false);
    SessionNameEditChange();
    ShowFailure(this, text);
}

void TConnectionWindow::HostButtonClick() {
    try {
        NetSession->Create(CodePage::FromUnicode(SessionNameEdit->text()),
                           CodePage::FromUnicode(PlayerNameEdit->text()));
    } catch (const KordiError& error) {
        ShowFailure(this, error.Text());
        return;
    }
    emit Connected(1);
    accept();
}

QMessageBox* ShowFailure(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

QString HostFailureText(const TTexts& texts, const THostFailure& failure) {
    return texts.GetTextU("Net_HostFailed") + " (" + failure.Place + ": " + failure.Reason + ")";
}

void ReleaseSession(TMainWindow& main) {
    if (!main.NetSession)
        return;
    QObject::disconnect(main.NetSession, nullptr, &main, nullptr);
    main.NetSession->Close();
    // This may run inside one of the component's own events.
    main.NetSession->deleteLater();
    main.NetSession = nullptr;
}

QByteArray TConnectionWindow::PlayerName() const {
    return CodePage::FromUnicode(PlayerNameEdit->text());
}

void TMainWindow::Menu_ConnectClick() {
    if (NetGame->State() != 0 || ConnectionWindow->isVisible())
        return;
    PollTimer->stop();
    ReleaseSession(*this); // the unused component of a cancelled Connect
    NetSession = new TSessionService(this);
    NetSession->AskSerialCable = [this](TCableAnswer answer) {
        TSerialCableDialog::Ask(cableChoice_, [this, answer](const auto& chosen) {
            if (chosen)
                cableChoice_ = chosen;
            answer(chosen);
        });
    };
    connect(NetSession, &TSessionService::OnMessage, NetGame,
            [this](TSessionService*, const TSessionPlayer& player, const QByteArray& data) {
                NetGame->Receive(player, data);
            });
    connect(NetSession, &TSessionService::OnAddPlayer, NetGame, &TNetGame::PlayerAdded);
    connect(NetSession, &TSessionService::OnDeletePlayer, NetGame, &TNetGame::PlayerDeleted);
    connect(NetSession, &TSessionService::OnSessionLost, this, [this] { Menu_DisConnectClick(); });
    connect(NetSession, &TSessionService::OnHostMigrationFailed, this,
            [this](const THostFailure& failure) {
                Menu_DisConnectClick();
                ShowFailure(this, HostFailureText(look_.Texts, failure));
            });
    ConnectionWindow->UseSession(NetSession);
    connect(
        ConnectionWindow, &QDialog::finished, this,
        [this] {
            // Cancelled: a dialled modem hangs up and the port is free again.
            if (NetGame->State() == 0)
                ReleaseSession(*this);
            PollTimer->start();
        },
        Qt::SingleShotConnection);
    ConnectionWindow->open();
}

void TMainWindow::Menu_DisConnectClick() {
    EndSession(*this);
    StartGame(true);
}

void TMainWindow::ShowConnected() {
    Menu_Connect->setEnabled(false);
    Menu_DisConnect->setEnabled(true);
    OwnNameLabel->SetCaption(CodePage::ToUnicode(ConnectionWindow->PlayerName()));
    OwnNameLabel->show();
    if (NetGame->State() == 2) {
        PeerNameLabel->SetCaption(CodePage::ToUnicode(NetGame->PeerName()));
        PeerNameLabel->show();
        ShowComputerOpponent(false);
    }
    ShowNetState();
}

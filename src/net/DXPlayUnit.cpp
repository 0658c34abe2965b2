#include "net/DXPlayUnit.h"

#include "net/SerialCableDialog.h"
#include "net/SerialTransport.h"
#include "net/TcpTransport.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <QIODevice>
#include <QTimer>
#include <algorithm>

using namespace SessionFraming;

namespace {

constexpr quint32 FirstPlayerId = 1;

KordiError CannotOpen(const QByteArray& sessionName) {
    return KordiError(QString("Session %1 cannot be opened").arg(CodePage::ToUnicode(sessionName)));
}

} // namespace

TDXPlay::TDXPlay(QObject* parent) : QObject(parent), AskSerialCable(&TSerialCableDialog::Ask) {}

TDXPlay::~TDXPlay() {
    Close();
}

QList<TDXPlayProvider> TDXPlay::Providers() {
    return {
        {DPSPGUID_TCPIP, "TCP/IP"}, {DPSPGUID_MODEM, "Modem"}, {DPSPGUID_SERIAL, "Serial cable"}};
}

QStringList TDXPlay::Modems() {
    return TSerialTransport::Modems();
}

void TDXPlay::CheckModemSetting(const TModemSetting& setting) {
    TSerialTransport::CheckModemSetting(setting);
}

void TDXPlay::SelectProvider(const QString& name) {
    Close();
    transport_.reset();
    providerName_.clear();
    found_.clear();
    if (name.isEmpty())
        return;
    const QList<TDXPlayProvider> providers = Providers();
    const auto provider = std::find_if(providers.begin(), providers.end(),
                                       [&](const TDXPlayProvider& p) { return p.Name == name; });
    if (provider == providers.end())
        throw KordiError(QString("Provider '%1' not found").arg(name));
    if (provider->Guid == DPSPGUID_TCPIP)
        transport_ = std::make_unique<TTcpTransport>(*this, [this] { return JoinableSessions(); });
    else
        transport_ = std::make_unique<TSerialTransport>(provider->Guid == DPSPGUID_MODEM
                                                            ? TSerialTransport::TKind::Modem
                                                            : TSerialTransport::TKind::Cable,
                                                        *this);
    connect(transport_.get(), &TSessionTransport::Incoming, this, &TDXPlay::Accept);
    providerName_ = name;
}

QList<QByteArray> TDXPlay::GetSessions() {
    if (!transport_)
        throw ListNotAcquired();
    found_.clear();
    found_ = transport_->Find();
    QList<QByteArray> names;
    for (const TFoundSession& session : found_)
        names.append(session.Name);
    return names;
}

void TDXPlay::Open(TOpenMode mode, const QByteArray& sessionName, const QByteArray& playerName) {
    // Only an open session is left: a line that the search brought up is kept for the join.
    if (opened_)
        Close();
    if (sessionName.isEmpty())
        throw KordiError("Session name is not specified");
    if (playerName.isEmpty())
        throw KordiError("Player name is not specified");
    if (!transport_)
        throw CannotOpen(sessionName);
    if (mode == TOpenMode::Create)
        CreateSession(sessionName, playerName);
    else
        JoinSession(sessionName, playerName);
    emit OnAddPlayer(LocalPlayer());
}

void TDXPlay::Send(quint32 to, const QByteArray& data) {
    if (data.size() < 4 || data.size() > MaxPayload)
        throw KordiError("The message form is illegal");
    if (!opened_)
        return;
    if (to == localId_)
        emit OnMessage(this, LocalPlayer(), data);
    else if (peer_ && (to == AllPlayers || to == peerId_))
        peer_->SendMessage(data);
}

void TDXPlay::Close() {
    if (peer_)
        peer_->Leave();
    peer_ = nullptr;
    for (TPeerLink* link : findChildren<TPeerLink*>(Qt::FindDirectChildrenOnly)) {
        link->Drop();
        link->deleteLater();
    }
    if (transport_)
        transport_->Release();
    opened_ = false;
    sessionName_.clear();
    players_.clear();
    localId_ = peerId_ = 0;
    joined_ = {};
}

bool TDXPlay::IsHost() const {
    return transport_ && transport_->Serving();
}

TDXPlayPlayer TDXPlay::LocalPlayer() const {
    for (const TDXPlayPlayer& player : players_)
        if (player.Id == localId_)
            return player;
    return {};
}

void TDXPlay::CreateSession(const QByteArray& sessionName, const QByteArray& playerName) {
    if (!transport_->Serve({}).isEmpty())
        throw CannotOpen(sessionName);
    opened_ = true;
    sessionName_ = sessionName;
    localId_ = FirstPlayerId;
    players_ = {{localId_, playerName, false}};
}

void TDXPlay::JoinSession(const QByteArray& sessionName, const QByteArray& playerName) {
    const TFoundSession* found = FindSession(sessionName);
    if (!found)
        throw KordiError(QString("Session '%1' not found").arg(CodePage::ToUnicode(sessionName)));
    const TFoundSession session = *found;
    QIODevice* stream = transport_->Reach(session);
    if (!stream)
        throw CannotOpen(sessionName);
    std::unique_ptr<TPeerLink> link(MakeLink(stream));
    std::optional<TWelcome> welcome;
    TWait wait;
    connect(link.get(), &TPeerLink::Welcomed, &wait, [&](const TWelcome& answer) {
        welcome = answer;
        wait.Finish();
    });
    connect(link.get(), &TPeerLink::Refused, &wait, &QEventLoop::quit);
    connect(link.get(), &TPeerLink::Lost, &wait, &QEventLoop::quit);
    connect(link.get(), &TPeerLink::Left, &wait, &QEventLoop::quit);
    link->Join({ProtocolVersion, session.Name, playerName});
    wait.Run(ConnectTimeoutMs);
    // The host comes first in the welcome; an id of ours that clashes is a broken welcome.
    const auto clashes = [&](const TWirePlayer& p) { return p.Id == welcome->YourId; };
    if (!welcome || welcome->Players.isEmpty() || welcome->YourId == AllPlayers ||
        std::any_of(welcome->Players.begin(), welcome->Players.end(), clashes))
        throw CannotOpen(sessionName);
    opened_ = true;
    sessionName_ = session.Name;
    joined_ = session;
    localId_ = welcome->YourId;
    players_.clear();
    for (const TWirePlayer& player : welcome->Players)
        players_.append({player.Id, player.Name, true});
    players_.append({localId_, playerName, false});
    AdoptPeer(link.get(), welcome->Players.first().Id);
    link.release()->Release();
}

const TFoundSession* TDXPlay::FindSession(const QByteArray& name) const {
    for (const TFoundSession& session : found_)
        if (CodePage::CompareNoCase(session.Name, name) == 0)
            return &session;
    return nullptr;
}

void TDXPlay::Accept(QIODevice* stream) {
    TPeerLink* link = MakeLink(stream);
    connect(link, &TPeerLink::HelloReceived, this,
            [this, link](const THello& hello) { AnswerHello(link, hello); });
    connect(link, &TPeerLink::QueryReceived, this,
            [this, link] { link->AnswerQuery(JoinableSessions()); });
    // Every link that is not, or no longer, the peer goes once it closes.
    for (auto ended : {&TPeerLink::QueryReceived, &TPeerLink::Left, &TPeerLink::Lost})
        connect(link, ended, link, &QObject::deleteLater);
}

void TDXPlay::AnswerHello(TPeerLink* link, const THello& hello) {
    const bool fits = hello.Version == ProtocolVersion && hello.SessionName == sessionName_ &&
                      !hello.PlayerName.isEmpty() && players_.size() < MaxPlayers;
    if (!fits) {
        link->Refuse();
        link->deleteLater();
        return;
    }
    const TDXPlayPlayer joiner{NextPlayerId(), hello.PlayerName, true};
    link->Accept({joiner.Id, WirePlayers()});
    players_.append(joiner);
    AdoptPeer(link, joiner.Id);
    emit OnAddPlayer(joiner);
}

void TDXPlay::AdoptPeer(TPeerLink* link, quint32 peerId) {
    peer_ = link;
    peerId_ = peerId;
    connect(link, &TPeerLink::MessageReceived, this, [this, link](const QByteArray& data) {
        if (link != peer_ || data.size() < 4)
            return;
        for (const TDXPlayPlayer& player : players_)
            if (player.Id == peerId_)
                return void(emit OnMessage(this, player, data));
    });
    connect(link, &TPeerLink::Left, this, [this, link] {
        if (link == peer_)
            PeerGone(false);
    });
    connect(link, &TPeerLink::Lost, this, [this, link] {
        if (link == peer_)
            PeerGone(true);
    });
}

void TDXPlay::PeerGone(bool lost) {
    peer_->deleteLater();
    peer_ = nullptr;
    const auto gone = std::find_if(players_.begin(), players_.end(),
                                   [this](const TDXPlayPlayer& p) { return p.Id == peerId_; });
    if (gone == players_.end())
        return;
    const TDXPlayPlayer player = *gone;
    players_.erase(gone);
    peerId_ = 0;
    // The handlers may close the session or release this object.
    const QPointer<TDXPlay> alive(this);
    emit OnDeletePlayer(player);
    if (lost && alive && opened_)
        emit OnSessionLost();
    if (alive && opened_)
        ServeAgain();
}

// A joiner takes the session over; a host goes on serving it (a modem line hangs up and
// waits for the next call).
void TDXPlay::ServeAgain() {
    const bool host = IsHost();
    const QString failure = transport_->Serve(joined_);
    if (failure.isEmpty())
        return;
    const QString text =
        host ? "New players cannot join on %1: %2" : "The session cannot be taken over on %1: %2";
    emit OnHostMigrationFailed(text.arg(transport_->Place(), failure));
}

QList<QByteArray> TDXPlay::JoinableSessions() const {
    if (players_.size() < MaxPlayers)
        return {sessionName_};
    return {};
}

QList<TWirePlayer> TDXPlay::WirePlayers() const {
    QList<TWirePlayer> wire;
    for (const TDXPlayPlayer& player : players_)
        wire.append({player.Id, player.Name});
    return wire;
}

quint32 TDXPlay::NextPlayerId() const {
    quint32 highest = 0;
    for (const TDXPlayPlayer& player : players_)
        highest = std::max(highest, player.Id);
    return highest + 1;
}

TPeerLink* TDXPlay::MakeLink(QIODevice* stream) {
    return new TPeerLink(stream, LinkTimings, this);
}

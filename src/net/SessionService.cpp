#include "net/SessionService.h"

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

TSessionService::TSessionService(QObject* parent)
    : QObject(parent), AskSerialCable([](TCableAnswer answer) {
          TSerialCableDialog::Ask(std::nullopt, std::move(answer));
      }) {
    qRegisterMetaType<THostFailure>();
}

TSessionService::~TSessionService() {
    Close();
}

QList<TSessionProvider> TSessionService::Providers() {
    return {
        {DPSPGUID_TCPIP, "TCP/IP"}, {DPSPGUID_MODEM, "Modem"}, {DPSPGUID_SERIAL, "Serial cable"}};
}

QStringList TSessionService::Modems() {
    return TSerialTransport::Modems();
}

void TSessionService::CheckModemSetting(const TModemSetting& setting) {
    TSerialTransport::CheckModemSetting(setting);
}

void TSessionService::SelectProvider(const QString& name) {
    Close();
    transport_.reset();
    providerName_.clear();
    found_.clear();
    if (name.isEmpty())
        return;
    const QList<TSessionProvider> providers = Providers();
    const auto provider = std::find_if(providers.begin(), providers.end(),
                                       [&](const TSessionProvider& p) { return p.Name == name; });
    if (provider == providers.end())
        throw KordiError(QString("Provider '%1' not found").arg(name));
    if (provider->Guid == DPSPGUID_TCPIP)
        transport_ = std::make_unique<TTcpTransport>(*this, [this] { return JoinableSessions(); });
    else
        transport_ = std::make_unique<TSerialTransport>(provider->Guid == DPSPGUID_MODEM
                                                            ? TSerialTransport::TKind::Modem
                                                            : TSerialTransport::TKind::Cable,
                                                        *this);
    connect(transport_.get(), &TSessionTransport::Incoming, this, &TSessionService::Accept);
    connect(transport_.get(), &TSessionTransport::ServeFailed, this, &TSessionService::ServeFailed);
    providerName_ = name;
}

// The steps start from the event loop, so that no answer comes inside the call.
void TSessionService::SearchSessions() {
    step_.Start();
    found_.clear();
    step_.Later([this] {
        if (!transport_)
            return Found({{}, ListNotAcquiredText()});
        transport_->Find(step_.Guard([this](const TFindResult& result) { Found(result); }));
    });
}

void TSessionService::Found(const TFindResult& result) {
    step_.Stop();
    if (result.Failure)
        return void(emit SearchFailed(*result.Failure));
    found_ = result.Sessions;
    QList<QByteArray> names;
    for (const TFoundSession& session : found_)
        names.append(session.Name);
    emit SessionsFound(names);
}

void TSessionService::Create(const QByteArray& sessionName, const QByteArray& playerName) {
    // Only an open session is left: a line that the search brought up is kept for the join.
    if (opened_)
        Close();
    StopSteps();
    if (sessionName.isEmpty())
        throw KordiError("Session name is not specified");
    if (playerName.isEmpty())
        throw KordiError("Player name is not specified");
    takingOver_ = false;
    if (!transport_ || !transport_->Serve({}).isEmpty())
        throw CannotOpen(sessionName);
    opened_ = true;
    sessionName_ = sessionName;
    localId_ = FirstPlayerId;
    players_ = {{localId_, playerName, false}};
    emit OnAddPlayer(LocalPlayer());
}

void TSessionService::Join(const QByteArray& sessionName, const QByteArray& playerName) {
    if (opened_)
        Close();
    step_.Start();
    step_.Later([this, sessionName, playerName] {
        const TFoundSession* found = FindSession(sessionName);
        if (sessionName.isEmpty())
            return FailJoin("Session name is not specified");
        if (playerName.isEmpty())
            return FailJoin("Player name is not specified");
        if (!transport_ || !found)
            return FailJoin(
                QString("Session '%1' not found").arg(CodePage::ToUnicode(sessionName)));
        const TFoundSession session = *found;
        transport_->Reach(session, step_.Guard([this, session, playerName](QIODevice* stream) {
            Reached(stream, session, playerName);
        }));
    });
}

void TSessionService::Reached(QIODevice* stream, const TFoundSession& session,
                              const QByteArray& playerName) {
    if (!stream)
        return FailJoin(CannotOpen(session.Name).Text());
    auto* link = new TPeerLink(stream, LinkTimings, step_.Context());
    const auto welcomed = step_.Guard(
        [=, this](const TWelcome& welcome) { Welcomed(link, welcome, session, playerName); });
    const auto failed = step_.Guard([this, session] { FailJoin(CannotOpen(session.Name).Text()); });
    connect(link, &TPeerLink::Welcomed, link, welcomed);
    for (auto ended : {&TPeerLink::Refused, &TPeerLink::Lost, &TPeerLink::Left})
        connect(link, ended, link, failed);
    QTimer::singleShot(ConnectTimeoutMs, link, failed);
    link->Join({ProtocolVersion, session.Name, playerName});
}

void TSessionService::Welcomed(TPeerLink* link, const TWelcome& welcome,
                               const TFoundSession& session, const QByteArray& playerName) {
    // The host comes first in the welcome; an id of ours that clashes is a broken welcome.
    const auto clashes = [&](const TWirePlayer& p) { return p.Id == welcome.YourId; };
    if (welcome.Players.isEmpty() || welcome.YourId == AllPlayers ||
        std::any_of(welcome.Players.begin(), welcome.Players.end(), clashes)) {
        link->Drop();
        return FailJoin(CannotOpen(session.Name).Text());
    }
    link->setParent(this);
    step_.Stop();
    opened_ = true;
    sessionName_ = session.Name;
    joined_ = session;
    localId_ = welcome.YourId;
    players_.clear();
    for (const TWirePlayer& player : welcome.Players)
        players_.append({player.Id, player.Name, true});
    players_.append({localId_, playerName, false});
    AdoptPeer(link, welcome.Players.first().Id);
    const QPointer<TSessionService> alive(this);
    emit OnAddPlayer(LocalPlayer());
    if (alive && opened_)
        emit Joined();
}

void TSessionService::FailJoin(const QString& text) {
    step_.Stop();
    emit JoinFailed(text);
}

void TSessionService::HoldMessages() {
    holding_ = true;
    if (peer_)
        peer_->Hold();
}

void TSessionService::ReleaseMessages() {
    holding_ = false;
    if (peer_)
        peer_->Release();
}

void TSessionService::Send(quint32 to, const QByteArray& data) {
    if (data.size() < 4 || data.size() > MaxPayload)
        throw KordiError("The message form is illegal");
    if (!opened_)
        return;
    if (to == localId_)
        emit OnMessage(this, LocalPlayer(), data);
    else if (peer_ && (to == AllPlayers || to == peerId_))
        peer_->SendMessage(data);
}

void TSessionService::StopSteps() {
    step_.Stop();
    if (transport_)
        transport_->Stop();
}

void TSessionService::Close() {
    StopSteps();
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

bool TSessionService::IsHost() const {
    return transport_ && transport_->Serving();
}

TSessionPlayer TSessionService::LocalPlayer() const {
    const TSessionPlayer* local = FindPlayer(localId_);
    return local ? *local : TSessionPlayer{};
}

const TSessionPlayer* TSessionService::FindPlayer(quint32 id) const {
    for (const TSessionPlayer& player : players_)
        if (player.Id == id)
            return &player;
    return nullptr;
}

const TFoundSession* TSessionService::FindSession(const QByteArray& name) const {
    for (const TFoundSession& session : found_)
        if (CodePage::CompareNoCase(session.Name, name) == 0)
            return &session;
    return nullptr;
}

int TSessionService::PendingConnections() const {
    const QList<TPeerLink*> links = findChildren<TPeerLink*>(Qt::FindDirectChildrenOnly);
    return int(std::count_if(links.begin(), links.end(), [](const TPeerLink* link) {
        return !link->IsJoined() && !link->IsClosed();
    }));
}

// Connections that never join are few and short-lived, and the player hears nothing of them.
void TSessionService::Accept(QIODevice* stream) {
    if (PendingConnections() >= MaxPendingConnections) {
        stream->close();
        stream->deleteLater();
        return;
    }
    auto* link = new TPeerLink(stream, LinkTimings, this);
    connect(link, &TPeerLink::HelloReceived, this,
            [this, link](const THello& hello) { AnswerHello(link, hello); });
    connect(link, &TPeerLink::QueryReceived, this,
            [this, link] { link->AnswerQuery(JoinableSessions()); });
    // Every link that is not, or no longer, the peer goes once it closes.
    for (auto ended : {&TPeerLink::QueryReceived, &TPeerLink::Left, &TPeerLink::Lost})
        connect(link, ended, link, &QObject::deleteLater);
    QTimer::singleShot(HandshakeTimeoutMs, link, [link] {
        if (!link->IsJoined()) {
            link->Drop();
            link->deleteLater();
        }
    });
}

void TSessionService::AnswerHello(TPeerLink* link, const THello& hello) {
    const bool fits = hello.Version == ProtocolVersion && hello.SessionName == sessionName_ &&
                      !hello.PlayerName.isEmpty() && players_.size() < MaxPlayers;
    if (!fits) {
        link->Refuse();
        link->deleteLater();
        return;
    }
    const TSessionPlayer joiner{NextPlayerId(), hello.PlayerName, true};
    link->Accept({joiner.Id, WirePlayers()});
    players_.append(joiner);
    AdoptPeer(link, joiner.Id);
    emit OnAddPlayer(joiner);
}

// A joiner's link holds the peer's messages from the welcome on; they flow once this side
// is set up, unless the game holds them.
void TSessionService::AdoptPeer(TPeerLink* link, quint32 peerId) {
    peer_ = link;
    peerId_ = peerId;
    if (holding_)
        link->Hold();
    else
        link->Release();
    connect(link, &TPeerLink::MessageReceived, this, [this, link](const QByteArray& data) {
        if (link != peer_ || data.size() < 4)
            return;
        const TSessionPlayer* sender = FindPlayer(peerId_);
        if (!sender)
            return;
        const TSessionPlayer player = *sender; // a handler may close the session
        emit OnMessage(this, player, data);
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

void TSessionService::PeerGone(bool lost) {
    peer_->deleteLater();
    peer_ = nullptr;
    const TSessionPlayer* gone = FindPlayer(peerId_);
    if (!gone)
        return;
    const TSessionPlayer player = *gone;
    players_.removeIf([&](const TSessionPlayer& p) { return p.Id == player.Id; });
    peerId_ = 0;
    // The handlers may close the session or release this object.
    const QPointer<TSessionService> alive(this);
    emit OnDeletePlayer(player);
    if (lost && alive && opened_)
        emit OnSessionLost();
    if (alive && opened_)
        ServeAgain();
}

// A joiner takes the session over; a host goes on serving it (a modem line hangs up and
// waits for the next call). A host that has just said goodbye may still hold its port for
// a moment, so a refusal is tried again a few times before it counts.
void TSessionService::ServeAgain(int triesLeft) {
    takingOver_ = !IsHost();
    const QString failure = transport_->Serve(joined_);
    if (failure.isEmpty())
        return;
    if (triesLeft <= 0)
        return ServeFailed(failure);
    QTimer::singleShot(ServeRetryMs, this, [this, triesLeft] {
        if (opened_ && !peer_)
            ServeAgain(triesLeft - 1);
    });
}

void TSessionService::ServeFailed(const QString& reason) {
    if (opened_)
        emit OnHostMigrationFailed({takingOver_, transport_->Place(), reason});
}

QList<QByteArray> TSessionService::JoinableSessions() const {
    if (players_.size() < MaxPlayers)
        return {sessionName_};
    return {};
}

QList<TWirePlayer> TSessionService::WirePlayers() const {
    QList<TWirePlayer> wire;
    for (const TSessionPlayer& player : players_)
        wire.append({player.Id, player.Name});
    return wire;
}

quint32 TSessionService::NextPlayerId() const {
    quint32 highest = 0;
    for (const TSessionPlayer& player : players_)
        highest = std::max(highest, player.Id);
    return highest + 1;
}

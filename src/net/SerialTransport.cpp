#include "net/SerialTransport.h"

#include "platform/Errors.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The computer's side of a modem: fast enough for any modem line, paced by RTS/CTS.
constexpr qint32 ModemPortSpeed = 115200;
// What a modem sends when the call ends under it.
const QByteArray NoCarrier = "\r\nNO CARRIER\r\n";
const QByteArrayList FinalResults = {"OK",   "ERROR",       "CONNECT",      "NO CARRIER",
                                     "BUSY", "NO DIALTONE", "NO DIAL TONE", "NO ANSWER"};

QString ModemName(const QSerialPortInfo& info) {
    return info.description().isEmpty()
               ? info.portName()
               : QString("%1 (%2)").arg(info.description(), info.portName());
}

// The port behind a modem's name in the list; any other name is taken as a port itself.
QString PortOf(const QString& modemName) {
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (ModemName(info) == modemName)
            return info.portName();
    return modemName.trimmed();
}

// What the modem is told to dial: digits and dial modifiers only, so that the typed number
// can never carry a command of its own.
QByteArray DialString(const QString& phoneNumber) {
    static const QRegularExpression separators("[\\s().-]");
    static const QRegularExpression dialable(
        QRegularExpression::anchoredPattern("[0-9*#,WwPp!@]{0,40}"));
    QString number = phoneNumber;
    number.remove(separators);
    if (!dialable.match(number).hasMatch())
        throw KordiError(QString("The telephone number '%1' cannot be dialled").arg(phoneNumber));
    return number.toLatin1();
}

bool IsFinalResult(const QByteArray& line) {
    return std::any_of(FinalResults.begin(), FinalResults.end(),
                       [&](const QByteArray& result) { return line.startsWith(result); });
}

KordiError DialFailure(const QByteArray& result, const QByteArray& number) {
    const QString to = QString::fromLatin1(number);
    if (result == "BUSY")
        return KordiError(QString("The line of %1 is busy").arg(to));
    if (result == "NO DIALTONE" || result == "NO DIAL TONE")
        return KordiError("The modem hears no dial tone: is the telephone line plugged in?");
    if (result == "NO ANSWER")
        return KordiError(QString("%1 does not answer").arg(to));
    if (result == "NO CARRIER")
        return KordiError(QString("No modem answered at %1").arg(to));
    return KordiError(QString("The modem cannot dial %1: %2").arg(to, QString::fromLatin1(result)));
}

} // namespace

// One session stream over the line. Closing it leaves the line up for the next stream.
class TLineChannel : public QIODevice {
public:
    explicit TLineChannel(TSerialTransport* line) : line_(line) {
        open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }
    ~TLineChannel() override { Detach(); }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return (Attached() ? line_->inbox_.size() : 0) + QIODevice::bytesAvailable();
    }
    bool waitForBytesWritten(int msecs) override { return Attached() && line_->Flush(msecs); }
    void close() override {
        Detach();
        QIODevice::close();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (!Attached())
            return -1;
        QByteArray& inbox = line_->inbox_;
        const qint64 size = std::min<qint64>(maxSize, inbox.size());
        std::memcpy(data, inbox.constData(), size);
        inbox.remove(0, size);
        return size;
    }
    qint64 writeData(const char* data, qint64 size) override {
        const bool up =
            Attached() && line_->port_ && line_->state_ == TSerialTransport::TState::Data;
        return up ? line_->port_->write(data, size) : -1;
    }

private:
    bool Attached() const { return line_ && line_->channel_ == this; }
    // What the line brings after this stream ends belongs to the next one.
    void Detach() {
        if (Attached()) {
            line_->channel_ = nullptr;
            line_->inbox_.clear();
        }
        line_ = nullptr;
    }

    QPointer<TSerialTransport> line_;
};

TSerialTransport::TSerialTransport(TKind kind, const TDXPlay& play) : kind_(kind), play_(play) {
    connect(&carrierTimer_, &QTimer::timeout, this, &TSerialTransport::PollCarrier);
}

TSerialTransport::~TSerialTransport() {
    Release();
}

QStringList TSerialTransport::Modems() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names.append(ModemName(info));
    return names;
}

void TSerialTransport::CheckModemSetting(const TModemSetting& setting) {
    if (setting.ModemName.trimmed().isEmpty())
        throw KordiError("No modem is selected: choose one in the Modem list");
    DialString(setting.PhoneNumber);
}

QList<TFoundSession> TSerialTransport::Find() {
    return kind_ == TKind::Modem ? FindOverModem() : FindOverCable();
}

// Without a telephone number this side is to wait for a call: the modem is only checked.
QList<TFoundSession> TSerialTransport::FindOverModem() {
    CheckModemSetting(play_.ModemSetting);
    const QByteArray number = DialString(play_.ModemSetting.PhoneNumber);
    if (port_ && (PortOf(play_.ModemSetting.ModemName) != portName_ || number != dialled_))
        Release();
    if (state_ != TState::Data)
        ConnectModem(number);
    if (number.isEmpty())
        return {};
    // The one session served at the other end of the line.
    const std::optional<QList<QByteArray>> names =
        QuerySessions(OpenChannel(), play_.LinkTimings, play_.ConnectTimeoutMs);
    if (!names)
        throw ListNotAcquired();
    QList<TFoundSession> found;
    for (const QByteArray& name : *names)
        found.append({name, {}, 0});
    return found;
}

// The other machine may not serve a session yet: no answer is an empty list.
QList<TFoundSession> TSerialTransport::FindOverCable() {
    const std::optional<TSerialCableSetting> chosen = play_.AskSerialCable();
    if (!chosen)
        throw Cancelled();
    if (port_ && (chosen->PortName != cable_->PortName || chosen->BaudRate != cable_->BaudRate))
        Release();
    cable_ = chosen;
    OpenCable();
    QList<TFoundSession> found;
    const std::optional<QList<QByteArray>> names =
        QuerySessions(OpenChannel(), play_.LinkTimings, play_.EnumWaitMs);
    for (const QByteArray& name : names.value_or(QList<QByteArray>{}))
        found.append({name, {}, 0});
    return found;
}

QIODevice* TSerialTransport::Reach(const TFoundSession&) {
    if (kind_ == TKind::Modem && state_ != TState::Data)
        ConnectModem(DialString(play_.ModemSetting.PhoneNumber));
    else if (kind_ == TKind::Cable)
        OpenCable();
    return state_ == TState::Data ? OpenChannel() : nullptr;
}

QString TSerialTransport::Serve(const TFoundSession&) {
    try {
        if (kind_ == TKind::Cable) {
            if (!cable_)
                cable_ = play_.AskSerialCable();
            if (!cable_)
                throw Cancelled();
            OpenCable();
        } else if (state_ != TState::Answering) {
            // What the old call still brings is no new joiner.
            serving_ = false;
            Arm();
        }
    } catch (const KordiError& error) {
        serving_ = false;
        return error.Text();
    }
    serving_ = true;
    return {};
}

QString TSerialTransport::Place() const {
    return QString(kind_ == TKind::Modem ? "modem %1" : "port %1").arg(portName_);
}

void TSerialTransport::Release() {
    serving_ = false;
    if (kind_ == TKind::Modem && state_ == TState::Data)
        HangUp();
    ClosePort();
}

void TSerialTransport::ConnectModem(const QByteArray& number) {
    if (!port_)
        OpenPort(PortOf(play_.ModemSetting.ModemName), ModemPortSpeed);
    ResetModem();
    if (!number.isEmpty())
        Dial(number);
}

// Sets the modem to answer the next call by itself.
void TSerialTransport::Arm() {
    CheckModemSetting(play_.ModemSetting);
    if (state_ == TState::Data)
        HangUp();
    ConnectModem({});
    if (Command("ATS0=1", play_.ModemTimings.Command) != "OK")
        throw KordiError(QString("The modem on %1 cannot answer calls").arg(portName_));
    state_ = TState::Answering;
}

void TSerialTransport::OpenCable() {
    if (!port_)
        OpenPort(cable_->PortName, cable_->BaudRate);
}

void TSerialTransport::OpenPort(const QString& portName, qint32 baudRate) {
    portName_ = portName;
    auto* port = new QSerialPort(portName, this);
    port->setBaudRate(baudRate);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(kind_ == TKind::Modem ? QSerialPort::HardwareControl
                                               : QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        const QString reason = port->errorString();
        delete port;
        throw KordiError(QString(kind_ == TKind::Modem ? "Modem %1 cannot be opened: %2"
                                                       : "Port %1 cannot be opened: %2")
                             .arg(portName, reason));
    }
    port->clear(); // nothing stale from before this side was listening
    port_ = port;
    inbox_.clear();
    // Queued, so that waits for the modem's answers never run inside the port's own signals.
    connect(port_, &QSerialPort::readyRead, this, &TSerialTransport::ReadPort,
            Qt::QueuedConnection);
    connect(port_, &QSerialPort::errorOccurred, this, &TSerialTransport::PortFailed,
            Qt::QueuedConnection);
    state_ = kind_ == TKind::Modem ? TState::Command : TState::Data;
}

void TSerialTransport::ClosePort() {
    carrierTimer_.stop();
    if (port_) {
        port_->close(); // drops DTR, which hangs up a modem that is still on the line
        port_->deleteLater();
    }
    port_ = nullptr;
    state_ = TState::Closed;
    dialled_.clear();
    modemText_.clear();
    carrierTail_.clear();
    emit ResultReceived(); // a wait for the modem ends at once
}

// A port's wait for written bytes would sit out its whole time when nothing is left.
bool TSerialTransport::Flush(int timeoutMs) {
    return port_ && (port_->bytesToWrite() == 0 || port_->waitForBytesWritten(timeoutMs));
}

QByteArray TSerialTransport::Command(const QByteArray& command, int timeoutMs) {
    if (!port_)
        return {};
    result_.clear();
    port_->write(command + '\r');
    return AwaitResult(timeoutMs);
}

QByteArray TSerialTransport::AwaitResult(int timeoutMs) {
    TWait wait;
    connect(this, &TSerialTransport::ResultReceived, &wait, &TWait::Finish);
    wait.Run(timeoutMs);
    return result_;
}

void TSerialTransport::ResetModem() {
    state_ = TState::Command;
    if (Command("ATZ", play_.ModemTimings.Command) != "OK")
        throw KordiError(QString("The modem on %1 does not answer").arg(portName_));
}

void TSerialTransport::Dial(const QByteArray& number) {
    const QByteArray result = Command("ATDT" + number, play_.ModemTimings.Dial);
    if (result.startsWith("CONNECT")) {
        dialled_ = number;
        return;
    }
    if (!result.isEmpty())
        throw DialFailure(result, number);
    // Any character stops the dialling.
    Command("", play_.ModemTimings.Command);
    Command("ATH", play_.ModemTimings.Command);
    throw KordiError(QString("No connection with %1 within %2 seconds")
                         .arg(QString::fromLatin1(number))
                         .arg(play_.ModemTimings.Dial / 1000));
}

// The escape needs silence on both sides of "+++"; the modem then takes commands again.
// A call that ends meanwhile needs no escape.
void TSerialTransport::HangUp() {
    carrierTimer_.stop();
    Flush(play_.ModemTimings.Command);
    TWait().Run(play_.ModemTimings.Guard);
    if (state_ == TState::Data && port_) {
        state_ = TState::Command;
        result_.clear();
        port_->write("+++");
        AwaitResult(play_.ModemTimings.Guard + play_.ModemTimings.Command);
    }
    state_ = port_ ? TState::Command : TState::Closed;
    dialled_.clear();
    Command("ATH", play_.ModemTimings.Command);
}

void TSerialTransport::ReadPort() {
    if (!port_)
        return;
    const QByteArray bytes = port_->readAll();
    if (state_ == TState::Data)
        return TakeData(bytes);
    modemText_ += bytes;
    for (qsizetype end; state_ != TState::Data && (end = modemText_.indexOf('\n')) >= 0;) {
        const QByteArray line = modemText_.first(end).trimmed();
        modemText_.remove(0, end + 1);
        HandleModemLine(line);
    }
    // What follows CONNECT is the other side's first session bytes.
    if (state_ == TState::Data)
        TakeData(std::exchange(modemText_, {}));
}

void TSerialTransport::HandleModemLine(const QByteArray& line) {
    if (line.isEmpty() || line.startsWith("AT")) // a blank or the echo of a command
        return;
    if (line.startsWith("CONNECT")) {
        state_ = TState::Data;
        carrierTail_.clear();
        WatchCarrier();
    }
    if (IsFinalResult(line)) {
        result_ = line;
        emit ResultReceived();
    }
}

// A modem's NO CARRIER ends the line; what came before it still goes to the stream.
void TSerialTransport::TakeData(const QByteArray& bytes) {
    const QByteArray seen = carrierTail_ + bytes;
    const qsizetype lost = kind_ == TKind::Modem ? seen.indexOf(NoCarrier) : -1;
    carrierTail_ = seen.right(NoCarrier.size() - 1);
    if (lost < 0)
        return Deliver(bytes);
    const qsizetype earlier = seen.size() - bytes.size();
    Deliver(bytes.first(std::max<qsizetype>(0, lost - earlier)));
    LineDropped();
}

void TSerialTransport::Deliver(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    inbox_ += bytes;
    if (channel_)
        emit channel_->readyRead();
    else if (serving_)
        emit Incoming(OpenChannel());
    else
        inbox_.clear(); // the rest of a conversation this side has ended
}

// The call or the port is gone. An answering modem answers the next call by itself.
void TSerialTransport::LineDropped() {
    carrierTimer_.stop();
    dialled_.clear();
    if (state_ == TState::Data && kind_ == TKind::Modem)
        state_ = serving_ ? TState::Answering : TState::Command;
    if (channel_)
        emit channel_->readChannelFinished();
}

void TSerialTransport::PortFailed(QSerialPort::SerialPortError error) {
    const bool fatal = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                       error == QSerialPort::WriteError;
    if (!port_ || !fatal || sender() != port_)
        return;
    ClosePort();
    LineDropped();
}

// Where the port reports the carrier detect line and the modem raises it, its fall ends
// the call even before the modem says so.
void TSerialTransport::WatchCarrier() {
    const QSerialPort::PinoutSignals pins = port_->pinoutSignals();
    if (port_->error() == QSerialPort::NoError &&
        pins.testFlag(QSerialPort::DataCarrierDetectSignal))
        carrierTimer_.start(play_.ModemTimings.CarrierPoll);
    port_->clearError();
}

void TSerialTransport::PollCarrier() {
    if (port_ && !port_->pinoutSignals().testFlag(QSerialPort::DataCarrierDetectSignal))
        LineDropped();
}

QIODevice* TSerialTransport::OpenChannel() {
    auto* channel = new TLineChannel(this);
    channel_ = channel;
    return channel;
}

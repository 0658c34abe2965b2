#include "net/SerialTransport.h"

#include "platform/Errors.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>
#include <cstring>
#include <memory>
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

TSerialTransport::TSerialTransport(TKind kind, const TSessionService& play)
    : kind_(kind), play_(play) {
    connect(&carrierTimer_, &QTimer::timeout, this, &TSerialTransport::PollCarrier);
}

// Too late to wait for the modem: closing the port drops DTR, which ends a call.
TSerialTransport::~TSerialTransport() {
    step_.Stop();
    hangUp_.Stop();
    ClosePort();
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

void TSerialTransport::Find(TFindAnswer answer) {
    step_.Start();
    WhenIdle(step_.Guard([this, answer = std::move(answer)] {
        if (kind_ == TKind::Modem)
            FindOverModem(answer);
        else
            FindOverCable(answer);
    }));
}

// Without a telephone number this side is to wait for a call: the modem is only checked.
void TSerialTransport::FindOverModem(TFindAnswer answer) {
    QByteArray number;
    try {
        CheckModemSetting(play_.ModemSetting);
        number = DialString(play_.ModemSetting.PhoneNumber);
    } catch (const KordiError& error) {
        return answer({{}, error.Text()});
    }
    // Another modem or number: the old line goes first.
    if (port_ && (PortOf(play_.ModemSetting.ModemName) != portName_ || number != dialled_)) {
        if (state_ == TState::Data)
            return HangUp(step_, [this, answer] {
                ClosePort();
                FindOverModem(answer);
            });
        ClosePort();
    }
    const auto query = [this, number, answer](const QString& failure) {
        if (!failure.isEmpty())
            return answer({{}, failure});
        if (number.isEmpty())
            return answer({});
        QueryLine(play_.ConnectTimeoutMs, true, answer);
    };
    if (state_ == TState::Data)
        return query({});
    ConnectModem(step_, number, query);
}

// The other machine may not serve a session yet: no answer is an empty list.
void TSerialTransport::FindOverCable(TFindAnswer answer) {
    play_.AskSerialCable(step_.Guard([this,
                                      answer](const std::optional<TSerialCableSetting>& chosen) {
        if (!chosen)
            return answer({{}, QString()});
        if (port_ && (chosen->PortName != cable_->PortName || chosen->BaudRate != cable_->BaudRate))
            ClosePort();
        cable_ = chosen;
        try {
            OpenCable();
        } catch (const KordiError& error) {
            return answer({{}, error.Text()});
        }
        QueryLine(play_.EnumWaitMs, false, answer);
    }));
}

// The one session served at the other end of the line.
void TSerialTransport::QueryLine(int timeoutMs, bool failWithoutAnswer, TFindAnswer answer) {
    QuerySessions(OpenChannel(), play_.LinkTimings, timeoutMs, step_.Context(),
                  step_.Guard([failWithoutAnswer, answer](const auto& names) {
                      if (!names && failWithoutAnswer)
                          return answer({{}, ListNotAcquiredText()});
                      TFindResult result;
                      for (const QByteArray& name : names.value_or(QList<QByteArray>{}))
                          result.Sessions.append({name, {}, 0});
                      answer(result);
                  }));
}

void TSerialTransport::Reach(const TFoundSession&, TReachAnswer answer) {
    step_.Start();
    WhenIdle(step_.Guard([this, answer = std::move(answer)] {
        const auto channel = [this, answer](const QString& failure) {
            answer(failure.isEmpty() && state_ == TState::Data ? OpenChannel() : nullptr);
        };
        try {
            if (kind_ == TKind::Modem && state_ != TState::Data)
                return ConnectModem(step_, DialString(play_.ModemSetting.PhoneNumber), channel);
            if (kind_ == TKind::Cable)
                OpenCable();
        } catch (const KordiError&) {
            return answer(nullptr);
        }
        channel({});
    }));
}

QString TSerialTransport::Serve(const TFoundSession&) {
    if (kind_ == TKind::Cable) {
        serving_ = false;
        if (!cable_)
            return "No serial port is chosen";
        try {
            OpenCable();
        } catch (const KordiError& error) {
            return error.Text();
        }
        serving_ = true;
        return {};
    }
    if (state_ == TState::Answering) {
        serving_ = true;
        return {};
    }
    // What the old call still brings is no new joiner.
    serving_ = false;
    try {
        CheckModemSetting(play_.ModemSetting);
    } catch (const KordiError& error) {
        return error.Text();
    }
    step_.Start();
    WhenIdle(step_.Guard([this] {
        Arm([this](const QString& failure) {
            serving_ = failure.isEmpty();
            if (!serving_)
                emit ServeFailed(failure);
        });
    }));
    return {};
}

QString TSerialTransport::Place() const {
    return QString(kind_ == TKind::Modem ? "modem %1" : "port %1").arg(portName_);
}

void TSerialTransport::Release() {
    step_.Stop();
    serving_ = false;
    if (hangUp_.Running())
        return;
    if (kind_ != TKind::Modem || state_ != TState::Data)
        return ClosePort();
    hangUp_.Start();
    HangUp(hangUp_, [this] { HungUp(); });
}

void TSerialTransport::HungUp() {
    hangUp_.Stop();
    ClosePort();
    if (afterHangUp_)
        std::exchange(afterHangUp_, {})();
}

void TSerialTransport::WhenIdle(std::function<void()> next) {
    if (hangUp_.Running())
        afterHangUp_ = std::move(next);
    else
        next();
}

void TSerialTransport::ConnectModem(TStep& step, const QByteArray& number, TDone done) {
    try {
        if (!port_)
            OpenPort(PortOf(play_.ModemSetting.ModemName), ModemPortSpeed);
    } catch (const KordiError& error) {
        return done(error.Text());
    }
    ResetModem(step, [this, &step, number, done](const QString& failure) {
        if (!failure.isEmpty() || number.isEmpty())
            return done(failure);
        Dial(step, number, done);
    });
}

// Sets the modem to answer the next call by itself.
void TSerialTransport::Arm(TDone done) {
    if (state_ == TState::Data)
        return HangUp(step_, [this, done] { ArmModem(done); });
    ArmModem(done);
}

void TSerialTransport::ArmModem(TDone done) {
    ConnectModem(step_, {}, [this, done](const QString& failure) {
        if (!failure.isEmpty())
            return done(failure);
        Command(step_, "ATS0=1", play_.ModemTimings.Command,
                [this, done](const QByteArray& result) {
                    if (result != "OK")
                        return done(QString("The modem on %1 cannot answer calls").arg(portName_));
                    state_ = TState::Answering;
                    done({});
                });
    });
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
    // Queued, so that the modem's answers are never handled inside the port's own signals.
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
    result_.clear();
    emit ResultReceived(); // a wait for the modem ends at once
}

// A port's wait for written bytes would sit out its whole time when nothing is left.
bool TSerialTransport::Flush(int timeoutMs) {
    return port_ && (port_->bytesToWrite() == 0 || port_->waitForBytesWritten(timeoutMs));
}

void TSerialTransport::Command(TStep& step, const QByteArray& command, int timeoutMs,
                               TResult then) {
    if (!port_)
        return then({});
    result_.clear();
    port_->write(command + '\r');
    AwaitResult(step, timeoutMs, std::move(then));
}

// The first of the modem's answer and the time limit ends the wait; on time, the answer is
// empty.
void TSerialTransport::AwaitResult(TStep& step, int timeoutMs, TResult then) {
    auto* wait = new QObject(step.Context());
    const auto done = std::make_shared<bool>(false);
    const auto finish = step.Guard([this, wait, done, then = std::move(then)] {
        if (std::exchange(*done, true))
            return;
        wait->deleteLater();
        then(result_);
    });
    connect(this, &TSerialTransport::ResultReceived, wait, finish);
    QTimer::singleShot(timeoutMs, wait, finish);
}

void TSerialTransport::ResetModem(TStep& step, TDone done) {
    state_ = TState::Command;
    Command(step, "ATZ", play_.ModemTimings.Command, [this, done](const QByteArray& result) {
        done(result == "OK" ? QString()
                            : QString("The modem on %1 does not answer").arg(portName_));
    });
}

void TSerialTransport::Dial(TStep& step, const QByteArray& number, TDone done) {
    const TModemTimings timings = play_.ModemTimings;
    Command(step, "ATDT" + number, timings.Dial,
            [this, &step, number, done, timings](const QByteArray& result) {
                if (result.startsWith("CONNECT")) {
                    dialled_ = number;
                    return done({});
                }
                if (!result.isEmpty())
                    return done(DialFailure(result, number).Text());
                const QString late = QString("No connection with %1 within %2 seconds")
                                         .arg(QString::fromLatin1(number))
                                         .arg(timings.Dial / 1000);
                // Any character stops the dialling.
                Command(step, "", timings.Command,
                        [this, &step, done, late, timings](const QByteArray&) {
                            Command(step, "ATH", timings.Command,
                                    [done, late](const QByteArray&) { done(late); });
                        });
            });
}

// The escape needs silence on both sides of "+++"; the modem then takes commands again.
// A call that ends meanwhile needs no escape.
void TSerialTransport::HangUp(TStep& step, std::function<void()> then) {
    carrierTimer_.stop();
    QTimer::singleShot(play_.ModemTimings.Guard, step.Context(),
                       step.Guard([this, &step, then] { Escape(step, then); }));
}

void TSerialTransport::Escape(TStep& step, std::function<void()> then) {
    const auto hangUp = [this, &step, then](const QByteArray&) {
        state_ = port_ ? TState::Command : TState::Closed;
        dialled_.clear();
        Command(step, "ATH", play_.ModemTimings.Command, [then](const QByteArray&) { then(); });
    };
    if (state_ != TState::Data || !port_)
        return hangUp({});
    state_ = TState::Command;
    result_.clear();
    port_->write("+++");
    AwaitResult(step, play_.ModemTimings.Guard + play_.ModemTimings.Command, hangUp);
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

#pragma once
// Sessions over a serial line: a Hayes modem that dials or answers a telephone call, or a
// null-modem cable straight to the other machine. The line joins exactly two copies of the
// game and carries one session stream at a time.

#include "net/SessionService.h"
#include "net/SessionTransport.h"

#include <QByteArray>
#include <QPointer>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>
#include <optional>

class TLineChannel;

class TSerialTransport : public TSessionTransport {
    Q_OBJECT
public:
    enum class TKind { Modem, Cable };

    // Reads its settings from `play` at each step.
    TSerialTransport(TKind kind, const TSessionService& play);
    ~TSerialTransport() override;

    static QStringList Modems();
    static void CheckModemSetting(const TModemSetting& setting);

    void Find(TFindAnswer answer) override;
    void Reach(const TFoundSession& session, TReachAnswer answer) override;
    void Stop() override { step_.Stop(); }
    QString Serve(const TFoundSession& joined) override;
    bool Serving() const override { return serving_; }
    QString Place() const override;
    // A modem on a call hangs up first, from the event loop; the next step waits for it.
    void Release() override;

signals:
    void ResultReceived(); // the modem's final answer to a command, or the port's end

private:
    friend class TLineChannel;

    // Command: the modem takes commands. Answering: it waits for a call. Data: the line
    // carries session bytes (a cable from the moment its port opens).
    enum class TState { Closed, Command, Answering, Data };
    // Each modem step ends with a failure text, empty when it went well.
    using TDone = std::function<void(const QString& failure)>;
    using TResult = std::function<void(const QByteArray& result)>;

    void FindOverModem(TFindAnswer answer);
    void FindOverCable(TFindAnswer answer);
    void QueryLine(int timeoutMs, bool failWithoutAnswer, TFindAnswer answer);
    // Runs `next` now, or once the modem has hung up.
    void WhenIdle(std::function<void()> next);
    void ConnectModem(TStep& step, const QByteArray& number, TDone done);
    void Arm(TDone done);
    void ArmModem(TDone done);
    void OpenCable();
    void OpenPort(const QString& portName, qint32 baudRate);
    void ClosePort();

    bool Flush(int timeoutMs);
    void Command(TStep& step, const QByteArray& command, int timeoutMs, TResult then);
    void AwaitResult(TStep& step, int timeoutMs, TResult then);
    void ResetModem(TStep& step, TDone done);
    void Dial(TStep& step, const QByteArray& number, TDone done);
    void HangUp(TStep& step, std::function<void()> then);
    void Escape(TStep& step, std::function<void()> then);
    void HungUp();

    void ReadPort();
    void HandleModemLine(const QByteArray& line);
    void TakeData(const QByteArray& bytes);
    void Deliver(const QByteArray& bytes);
    void LineDropped();
    void PortFailed(QSerialPort::SerialPortError error);
    void WatchCarrier();
    void PollCarrier();
    QIODevice* OpenChannel();

    const TKind kind_;
    const TSessionService& play_;
    TStep step_{this};   // a search, a reach or arming the modem
    TStep hangUp_{this}; // the hang-up of a released line
    std::function<void()> afterHangUp_;
    QSerialPort* port_ = nullptr;
    QString portName_;
    TState state_ = TState::Closed;
    bool serving_ = false;
    QByteArray dialled_;                       // the number the line is connected to
    std::optional<TSerialCableSetting> cable_; // the cable's port and speed, once chosen
    QByteArray modemText_;                     // the modem's answers, cut into lines
    QByteArray result_;                        // the last final answer
    QByteArray inbox_;                         // session bytes for the channel
    QByteArray carrierTail_;                   // the end of the last bytes, for NO CARRIER
    QPointer<TLineChannel> channel_;
    QTimer carrierTimer_;
};

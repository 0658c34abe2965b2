#pragma once
// Sessions over a serial line: a Hayes modem that dials or answers a telephone call, or a
// null-modem cable straight to the other machine. The line joins exactly two copies of the
// game and carries one session stream at a time.

#include "net/DXPlayUnit.h"
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
    TSerialTransport(TKind kind, const TDXPlay& play);
    ~TSerialTransport() override;

    static QStringList Modems();
    static void CheckModemSetting(const TModemSetting& setting);

    QList<TFoundSession> Find() override;
    QIODevice* Reach(const TFoundSession& session) override;
    QString Serve(const TFoundSession& joined) override;
    bool Serving() const override { return serving_; }
    QString Place() const override;
    void Release() override;

signals:
    void ResultReceived(); // the modem's final answer to a command

private:
    friend class TLineChannel;

    // Command: the modem takes commands. Answering: it waits for a call. Data: the line
    // carries session bytes (a cable from the moment its port opens).
    enum class TState { Closed, Command, Answering, Data };

    QList<TFoundSession> FindOverModem();
    QList<TFoundSession> FindOverCable();
    void ConnectModem(const QByteArray& number);
    void Arm();
    void OpenCable();
    void OpenPort(const QString& portName, qint32 baudRate);
    void ClosePort();

    bool Flush(int timeoutMs);
    QByteArray Command(const QByteArray& command, int timeoutMs);
    QByteArray AwaitResult(int timeoutMs);
    void ResetModem();
    void Dial(const QByteArray& number);
    void HangUp();

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
    const TDXPlay& play_;
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

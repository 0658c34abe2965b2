#include "net/WebServices.h"

#include "dictionary/Dictionary.h"
#include "net/WebAddresses.h"
#include "platform/CodePage.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "settings/Settings.h"

#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <algorithm>

QString LocalAddress() {
    const QHostInfo host = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& address : host.addresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return {};
}

TVersionCheck::TVersionCheck(const TTexts& texts, IMessages& messages, QObject* owner)
    : QObject(owner), Address(WebAddresses::Statistics), http_(new QNetworkAccessManager(this)),
      texts_(texts), messages_(messages) {}

// Once the check has ended the address is not looked up again: the answer would change
// nothing, and a slow name service would stall the window every few seconds. The request
// runs alongside the game; its answer ends the check.
void TVersionCheck::StatisticsRequestStep() {
    if (HttpDone || reply_ || LocalAddressRule() == "127.0.0.1")
        return;
    QNetworkRequest request(Address);
    // A server that never answers ends the check in silence.
    request.setTransferTimeout(static_cast<int>(WaitLimit.count()));
    reply_ = http_->get(request);
    connect(reply_, &QNetworkReply::finished, this, &TVersionCheck::Answered);
}

void TVersionCheck::Answered() {
    QNetworkReply* reply = std::exchange(reply_, nullptr);
    reply->deleteLater();
    // A failed request, an unknown host among them, ends the check in silence.
    if (reply->error() == QNetworkReply::NoError)
        NMHTTPSuccess(reply->readAll());
    else
        HttpDone = 1;
}

// The reply starts with the marker and three digits: 202 is version 2.02. Anything else
// is not a version notice.
void TVersionCheck::NMHTTPSuccess(const QByteArray& body) {
    if (HttpDone)
        return;
    static constexpr QByteArrayView Marker = "KORDI 2000 VERSION:";
    const QByteArray digits = body.mid(Marker.size(), 3);
    const bool numeric =
        digits.size() == 3 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (body.startsWith(Marker) && numeric) {
        const int version = digits.toInt();
        if (version > OwnVersion)
            messages_.Show(CodePage::ToUnicode(FillNumbers(
                texts_.GetText("NewVersion"), {version / 100, version % 100 / 10, version % 10})));
    }
    HttpDone = 1;
}

QUrl HelpPage(const TProgramFolder& folder, const TDictionary& words) {
    return QUrl::fromLocalFile(folder.File("Help/" + words.LanguageName + ".htm"));
}

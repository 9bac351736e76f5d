#include "MusicBrainzClient.h"

#include "HttpGet.h"
#include "musicbrainz.h"

#include <QDateTime>
#include <QHash>
#include <QtGlobal>
#include <algorithm>

namespace alborx::ui {

namespace {

// When the last request to a service went out, for every client of the
// process: a service allows one request a second from a program.
QElapsedTimer& lastRequest(const QUrl& service)
{
    static QHash<QString, QElapsedTimer> timers;
    return timers[service.host()];
}

QUrl serverNamedBy(const char* variable, const char* fallback)
{
    const QUrl configured(qEnvironmentVariable(variable), QUrl::StrictMode);
    const bool web = configured.scheme() == QLatin1String("http") ||
                     configured.scheme() == QLatin1String("https");
    if (!configured.isValid() || !web || configured.host().isEmpty())
        return QUrl(QString::fromLatin1(fallback));
    // The service's paths are put behind the server's own path, if any.
    QString path = configured.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return configured.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemovePath)
        .resolved(QUrl(path));
}

// The wait Retry-After asks for, within 1..10 s; 1 s when it says nothing
// readable.
int retryWaitMs(const std::string& value)
{
    const auto seconds = musicbrainz::retryAfterSeconds(value, QDateTime::currentSecsSinceEpoch());
    const qint64 wait =
        seconds ? std::min<qint64>(*seconds, 3600) * 1000 : MusicBrainzClient::kSpacingMs;
    return static_cast<int>(std::clamp<qint64>(wait, MusicBrainzClient::kSpacingMs,
                                               MusicBrainzClient::kMostRetryWaitMs));
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

MusicBrainzClient::MusicBrainzClient(QObject* parent)
    : QObject(parent), server_(configuredServer()), mostAnswerBytes_(musicbrainz::kMostAnswerBytes)
{
    waiting_.setSingleShot(true);
    // The spacing and the retry wait are kept to the millisecond.
    waiting_.setTimerType(Qt::PreciseTimer);
    timeout_.setSingleShot(true);
    connect(&waiting_, &QTimer::timeout, this, &MusicBrainzClient::send);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        fail(tr("Serwer %1 nie odpowiedział w ciągu %2 s.")
                 .arg(host())
                 .arg((timeoutMs_ + 999) / 1000));
    });
}

QUrl MusicBrainzClient::configuredServer()
{
    return serverNamedBy("ALBORX_MUSICBRAINZ_URL", "https://musicbrainz.org");
}

QUrl MusicBrainzClient::configuredCoverServer()
{
    return serverNamedBy("ALBORX_COVERART_URL", "https://coverartarchive.org");
}

QByteArray MusicBrainzClient::userAgent()
{
    return QByteArrayLiteral("ALBORX!/1.0 ( alborx@example.org )");
}

void MusicBrainzClient::get(const std::string& path)
{
    abort();
    QUrl url = server_;
    const QUrl relative(QString::fromStdString(path), QUrl::TolerantMode);
    url.setPath(server_.path() + relative.path());
    url.setQuery(relative.query(QUrl::FullyEncoded), QUrl::StrictMode);
    target_ = url;
    retried_ = false;
    redirects_ = 0;
    sendWhenAllowed();
}

void MusicBrainzClient::abort()
{
    waiting_.stop();
    timeout_.stop();
    dropRequest();
}

bool MusicBrainzClient::busy() const
{
    return waiting_.isActive() || request_ != nullptr;
}

void MusicBrainzClient::sendWhenAllowed(int atLeastMs)
{
    int wait = atLeastMs;
    if (lastRequest(server_).isValid())
        wait = std::max<qint64>(wait, kSpacingMs - lastRequest(server_).elapsed());
    waiting_.start(std::max(wait, 0));
}

void MusicBrainzClient::send()
{
    const HttpGet::Headers headers = {{"User-Agent", userAgent()}, {"Accept", accept_}};
    lastRequest(server_).start();
    request_ = new HttpGet(target_, headers, mostAnswerBytes_, this);
    connect(request_, &HttpGet::finished, this, &MusicBrainzClient::finish);
    // The spacing counts from when the request left, after the connection
    // was made.
    connect(request_, &HttpGet::sent, this, [this] { lastRequest(server_).start(); });
    request_->start();
    timeout_.start(timeoutMs_);
}

void MusicBrainzClient::follow(const QUrl& location)
{
    const QUrl to = target_.resolved(location);
    const bool sameServer = to.scheme() == server_.scheme() && to.host() == server_.host() &&
                            to.port(-1) == server_.port(-1);
    if (!sameServer && !otherServersFollowed_) {
        fail(tr("Serwer %1 przekierowuje do innego serwera (%2); program tam nie pójdzie.")
                 .arg(host(), to.host().isEmpty() ? to.toDisplayString() : to.host()));
    } else if (redirects_ >= kMostRedirects ||
               (to.scheme() != QLatin1String("http") && to.scheme() != QLatin1String("https"))) {
        fail(
            tr("Serwer %1 przekierowuje zbyt wiele razy lub w niebezpieczne miejsce.").arg(host()));
    } else {
        ++redirects_;
        target_ = to;
        sendWhenAllowed();
    }
}

void MusicBrainzClient::finish()
{
    timeout_.stop();
    HttpGet* request = request_;
    if (request == nullptr)
        return;
    http::AnswerReader& answer = request->answer();
    const int status = answer.status();
    const HttpGet::Fault fault = request->fault();
    const http::AnswerFault answerFault = answer.fault();
    const int retryWait = retryWaitMs(answer.header("Retry-After"));
    // A relative Location is resolved against the request's address.
    const QUrl location(QString::fromStdString(answer.header("Location")), QUrl::StrictMode);
    const QString errorText = request->errorText();
    const std::string body = answer.takeBody();
    dropRequest();
    // The service asks to slow down with 503; 429 says the same.
    const bool slowDown = status == 503 || status == 429;
    if (fault == HttpGet::Fault::Untrusted) {
        fail(tr("Nie można bezpiecznie połączyć się z serwerem %1: jego certyfikat nie jest "
                "zaufany.")
                 .arg(host()));
    } else if (fault == HttpGet::Fault::Refused) {
        fail(tr("Serwer %1 odmówił połączenia.").arg(host()));
    } else if (fault == HttpGet::Fault::HostNotFound) {
        fail(tr("Nie znaleziono serwera %1. Sprawdź połączenie z siecią.").arg(host()));
    } else if (fault == HttpGet::Fault::NoAnswer) {
        fail(tr("Serwer %1 zamknął połączenie, nie odpowiadając.").arg(host()));
    } else if (fault == HttpGet::Fault::Other) {
        fail(tr("Nie można połączyć się z serwerem %1 (%2).").arg(host(), errorText));
    } else if (answerFault == http::AnswerFault::TooLarge) {
        fail(tr("Odpowiedź serwera %1 jest za duża (ponad %2 MiB).")
                 .arg(host())
                 .arg(mostAnswerBytes_ / (1024 * 1024)));
    } else if (slowDown && !retried_) {
        retried_ = true;
        sendWhenAllowed(retryWait);
    } else if (slowDown) {
        fail(tr("Serwer %1 jest przeciążony (błąd %2). Spróbuj ponownie za chwilę.")
                 .arg(host())
                 .arg(status),
             status);
    } else if (isRedirect(status) && location.isValid() && !location.isEmpty()) {
        follow(location);
    } else if (status >= 400) {
        fail(tr("Serwer %1 odpowiedział błędem %2.").arg(host()).arg(status), status);
    } else if (answerFault == http::AnswerFault::Damaged) {
        fail(tr("Serwer %1 przysłał uszkodzoną odpowiedź skompresowaną; nie można jej odczytać.")
                 .arg(host()));
    } else if (answerFault == http::AnswerFault::BrokenOff) {
        fail(tr("Serwer %1 przerwał połączenie w trakcie odpowiedzi.").arg(host()));
    } else if (answerFault != http::AnswerFault::None || status < 200 || status >= 300) {
        fail(tr("Serwer %1 nie odpowiedział jak serwer WWW.").arg(host()));
    } else {
        emit answered(QByteArray::fromStdString(body));
    }
}

void MusicBrainzClient::fail(const QString& message, int status)
{
    abort();
    emit failed(message, status);
}

void MusicBrainzClient::dropRequest()
{
    if (request_ == nullptr)
        return;
    HttpGet* request = request_;
    request_ = nullptr;
    request->disconnect(this);
    request->abort();
    request->deleteLater();
}

QString MusicBrainzClient::host() const
{
    return server_.host();
}

} // namespace alborx::ui

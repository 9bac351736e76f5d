#include "MusicBrainzClient.h"

#include "musicbrainz.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QtGlobal>
#include <algorithm>

namespace alborx::ui {

namespace {

constexpr int kMostRedirects = 3;

// When the last request went out, for every client of the process: the
// service allows one request a second from a program.
QElapsedTimer& lastRequest()
{
    static QElapsedTimer timer;
    return timer;
}

// Retry-After in seconds (the service sends no dates), within 1..10 s.
int retryWaitMs(const QNetworkReply& reply)
{
    bool ok = false;
    const int seconds = reply.rawHeader("Retry-After").trimmed().toInt(&ok);
    const int wait = ok ? seconds * 1000 : MusicBrainzClient::kSpacingMs;
    return std::clamp(wait, MusicBrainzClient::kSpacingMs, MusicBrainzClient::kMostRetryWaitMs);
}

} // namespace

MusicBrainzClient::MusicBrainzClient(QObject* parent) : QObject(parent), server_(configuredServer())
{
    waiting_.setSingleShot(true);
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
    const QUrl configured(qEnvironmentVariable("ALBORX_MUSICBRAINZ_URL"), QUrl::StrictMode);
    const bool web = configured.scheme() == QLatin1String("http") ||
                     configured.scheme() == QLatin1String("https");
    if (!configured.isValid() || !web || configured.host().isEmpty())
        return QUrl(QStringLiteral("https://musicbrainz.org"));
    // The service's paths are put behind the server's own path, if any.
    QString path = configured.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return configured.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemovePath)
        .resolved(QUrl(path));
}

QByteArray MusicBrainzClient::userAgent()
{
    return QByteArrayLiteral("ALBORX!/1.0 ( alborx@example.org )");
}

void MusicBrainzClient::get(const std::string& path)
{
    abort();
    path_ = path;
    retried_ = false;
    sendWhenAllowed();
}

void MusicBrainzClient::abort()
{
    waiting_.stop();
    timeout_.stop();
    dropReply();
}

bool MusicBrainzClient::busy() const
{
    return waiting_.isActive() || reply_ != nullptr;
}

void MusicBrainzClient::sendWhenAllowed(int atLeastMs)
{
    int wait = atLeastMs;
    if (lastRequest().isValid())
        wait = std::max<qint64>(wait, kSpacingMs - lastRequest().elapsed());
    waiting_.start(std::max(wait, 0));
}

void MusicBrainzClient::send()
{
    QUrl url = server_;
    const QUrl relative(QString::fromStdString(path_), QUrl::TolerantMode);
    url.setPath(server_.path() + relative.path());
    url.setQuery(relative.query(QUrl::FullyEncoded), QUrl::StrictMode);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "application/json");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMostRedirects);
    body_.clear();
    tooLarge_ = false;
    lastRequest().start();
    reply_ = manager_.get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > qint64(musicbrainz::kMostAnswerBytes))
            tooLarge_ = true;
        if (tooLarge_)
            reply_->abort();
    });
    connect(reply_, &QNetworkReply::readyRead, this, &MusicBrainzClient::takeData);
    QNetworkReply* reply = reply_;
    connect(reply_, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
    timeout_.start(timeoutMs_);
}

void MusicBrainzClient::takeData()
{
    body_ += reply_->readAll();
    if (body_.size() > qsizetype(musicbrainz::kMostAnswerBytes)) {
        tooLarge_ = true;
        body_.clear();
        reply_->abort();
    }
}

void MusicBrainzClient::finish(QNetworkReply* reply)
{
    if (reply != reply_)
        return;
    timeout_.stop();
    if (!tooLarge_)
        body_ += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const int retryWait = retryWaitMs(*reply);
    const QString errorText = reply->errorString();
    dropReply();
    if (tooLarge_ || body_.size() > qsizetype(musicbrainz::kMostAnswerBytes)) {
        fail(tr("Odpowiedź serwera %1 jest za duża (ponad 4 MiB).").arg(host()));
    } else if (status == 503 && !retried_) {
        retried_ = true;
        sendWhenAllowed(retryWait);
    } else if (status == 503) {
        fail(tr("Serwer %1 jest przeciążony (błąd 503). Spróbuj ponownie za chwilę.").arg(host()),
             status);
    } else if (error == QNetworkReply::TooManyRedirectsError ||
               error == QNetworkReply::InsecureRedirectError) {
        fail(
            tr("Serwer %1 przekierowuje zbyt wiele razy lub w niebezpieczne miejsce.").arg(host()));
    } else if (status >= 400) {
        fail(tr("Serwer %1 odpowiedział błędem %2.").arg(host()).arg(status), status);
    } else if (error == QNetworkReply::SslHandshakeFailedError) {
        fail(tr("Nie można bezpiecznie połączyć się z serwerem %1: jego certyfikat nie jest "
                "zaufany.")
                 .arg(host()));
    } else if (error == QNetworkReply::ConnectionRefusedError) {
        fail(tr("Serwer %1 odmówił połączenia.").arg(host()));
    } else if (error == QNetworkReply::HostNotFoundError) {
        fail(tr("Nie znaleziono serwera %1. Sprawdź połączenie z siecią.").arg(host()));
    } else if (error != QNetworkReply::NoError) {
        fail(tr("Nie można połączyć się z serwerem %1: %2.").arg(host(), errorText));
    } else {
        const QByteArray body = std::exchange(body_, {});
        emit answered(body);
    }
}

void MusicBrainzClient::fail(const QString& message, int status)
{
    abort();
    body_.clear();
    emit failed(message, status);
}

void MusicBrainzClient::dropReply()
{
    if (reply_ == nullptr)
        return;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

QString MusicBrainzClient::host() const
{
    return server_.host();
}

} // namespace alborx::ui

#include "HttpGet.h"

#include <QSslSocket>
#include <QTcpSocket>

namespace alborx::ui {

namespace {

bool secure(const QUrl& url)
{
    return url.scheme() == QLatin1String("https");
}

// The Host line names the port only where it is not the scheme's own.
QByteArray hostLine(const QUrl& url)
{
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int port = url.port(-1);
    if (port != -1 && port != (secure(url) ? 443 : 80))
        host += ':' + QByteArray::number(port);
    return host;
}

} // namespace

HttpGet::HttpGet(const QUrl& url, const Headers& headers, std::size_t mostBodyBytes,
                 QObject* parent)
    : QObject(parent), url_(url), headers_(headers), answer_(mostBodyBytes)
{}

HttpGet::~HttpGet()
{
    abort();
}

void HttpGet::start()
{
    const bool tls = secure(url_);
    QAbstractSocket* socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
    socket_ = socket;
    // The socket stops reading from the system when this much waits unread,
    // so a server sending faster than the answer is read is held back.
    socket->setReadBufferSize(kReadBufferBytes);
    connect(socket, &QAbstractSocket::readyRead, this, &HttpGet::readAnswer);
    connect(socket, &QAbstractSocket::disconnected, this, &HttpGet::closed);
    connect(socket, &QAbstractSocket::errorOccurred, this, &HttpGet::socketFailed);
    const quint16 port = static_cast<quint16>(url_.port(tls ? 443 : 80));
    if (auto* ssl = qobject_cast<QSslSocket*>(socket)) {
        connect(ssl, &QSslSocket::encrypted, this, &HttpGet::sendRequest);
        ssl->connectToHostEncrypted(url_.host(), port);
    } else {
        connect(socket, &QAbstractSocket::connected, this, &HttpGet::sendRequest);
        socket->connectToHost(url_.host(), port);
    }
}

void HttpGet::abort()
{
    ended_ = true;
    if (socket_ == nullptr)
        return;
    QAbstractSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void HttpGet::sendRequest()
{
    QByteArray target = url_.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url_.hasQuery())
        target += '?' + url_.query(QUrl::FullyEncoded).toLatin1();
    QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " + hostLine(url_) + "\r\n";
    for (const auto& [name, value] : headers_)
        request += name + ": " + value + "\r\n";
    request += "Accept-Encoding: gzip\r\nConnection: close\r\n\r\n";
    socket_->write(request);
    emit sent();
}

void HttpGet::readAnswer()
{
    while (socket_ != nullptr && !ended_ && socket_->bytesAvailable() > 0) {
        const QByteArray piece = socket_->read(64 * 1024);
        heardBack_ = true;
        answer_.feed(std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())));
        if (answer_.failed())
            end(Fault::Answer);
        else if (answer_.done())
            end(Fault::None);
    }
}

void HttpGet::closed()
{
    readAnswer();
    if (ended_)
        return;
    if (!heardBack_) {
        end(Fault::NoAnswer);
        return;
    }
    answer_.endOfStream();
    end(answer_.failed() ? Fault::Answer : Fault::None);
}

void HttpGet::socketFailed(QAbstractSocket::SocketError error)
{
    if (ended_)
        return;
    switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
        closed();
        break;
    case QAbstractSocket::ConnectionRefusedError:
        end(Fault::Refused);
        break;
    case QAbstractSocket::HostNotFoundError:
        end(Fault::HostNotFound);
        break;
    case QAbstractSocket::SslHandshakeFailedError:
        end(Fault::Untrusted);
        break;
    default:
        errorText_ = socket_ != nullptr ? socket_->errorString() : QString();
        // A connection that breaks once the answer has begun broke it off.
        if (heardBack_) {
            answer_.breakOff();
            end(Fault::Answer);
        } else {
            end(Fault::Other);
        }
        break;
    }
}

void HttpGet::end(Fault fault)
{
    if (ended_)
        return;
    fault_ = fault;
    abort();
    emit finished();
}

} // namespace alborx::ui

// Requests to the MusicBrainz web service as a well-behaved client sends
// them: one at a time, at most one a second, with the program's name in
// the User-Agent, bounded in time, size and redirects. Every fault ends in
// a message in Polish that names the server.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <string>

namespace alborx::ui {

class HttpGet;

class MusicBrainzClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTimeoutMs = 15'000;
    static constexpr int kSpacingMs = 1'000;
    static constexpr int kMostRetryWaitMs = 10'000;
    static constexpr int kMostRedirects = 3;

    explicit MusicBrainzClient(QObject* parent = nullptr);

    // The public service, or the http or https address that
    // ALBORX_MUSICBRAINZ_URL names.
    static QUrl configuredServer();
    // The Cover Art Archive, or the address ALBORX_COVERART_URL names.
    static QUrl configuredCoverServer();
    static QByteArray userAgent();

    void setServer(const QUrl& server) { server_ = server; }
    QUrl server() const { return server_; }
    // Tests shorten the wait for an answer.
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    // What the answers are: JSON of at most 4 MiB unless told otherwise.
    void setAnswers(const QByteArray& accept, std::size_t mostBytes)
    {
        accept_ = accept;
        mostAnswerBytes_ = mostBytes;
    }
    // A service that keeps its files elsewhere (the Cover Art Archive sends
    // to archive.org) may redirect to other servers.
    void setOtherServersFollowed(bool followed) { otherServersFollowed_ = followed; }

    // Asks for a path of the service; a request in flight is dropped.
    void get(const std::string& path);
    // Drops the request in flight or waiting; nothing is reported for it.
    void abort();
    bool busy() const;

signals:
    void answered(const QByteArray& body);
    // status is the HTTP status when the server answered with an error.
    void failed(const QString& message, int status);

private:
    void sendWhenAllowed(int atLeastMs = 0);
    void send();
    void finish();
    // A redirect, followed as a request of its own (spaced like any other)
    // to the same server only, at most kMostRedirects times.
    void follow(const QUrl& location);
    void fail(const QString& message, int status = 0);
    void dropRequest();
    QString host() const;

    QUrl server_;
    int timeoutMs_ = kTimeoutMs;
    QByteArray accept_ = "application/json";
    std::size_t mostAnswerBytes_;
    bool otherServersFollowed_ = false;
    // What the next request asks for: the path below the server, or where
    // a redirect sent it.
    QUrl target_;
    int redirects_ = 0;
    QPointer<HttpGet> request_;
    QTimer waiting_;
    QTimer timeout_;
    bool retried_ = false;
};

} // namespace alborx::ui

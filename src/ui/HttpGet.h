// One GET request over a connection of its own, closed after the answer.
// Nothing is ever sent again behind the caller's back (Qt's own HTTP layer
// resends a request at once when a connection closes early), so the caller
// decides when every request leaves the program.
#pragma once

#include "httpanswer.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QUrl>

namespace alborx::ui {

class HttpGet : public QObject
{
    Q_OBJECT

public:
    // What the connection holds of an answer before it is read.
    static constexpr qint64 kReadBufferBytes = 1024 * 1024;

    enum class Fault
    {
        None,
        Refused,
        HostNotFound,
        Untrusted, // the server's certificate is not trusted
        NoAnswer,  // the connection ended before the server answered
        Answer,    // the answer itself is faulty: see answer().fault()
        Other,     // see errorText()
    };

    using Headers = QList<QPair<QByteArray, QByteArray>>;

    HttpGet(const QUrl& url, const Headers& headers, std::size_t mostBodyBytes,
            QObject* parent = nullptr);
    ~HttpGet() override;

    void start();
    // Closes the connection; finished is not emitted after this.
    void abort();

    const http::AnswerReader& answer() const { return answer_; }
    http::AnswerReader& answer() { return answer_; }
    Fault fault() const { return fault_; }
    QString errorText() const { return errorText_; }

signals:
    // When the request has been written to the connection.
    void sent();
    // Once, when the answer is complete or the request has failed.
    void finished();

private:
    void sendRequest();
    void readAnswer();
    void closed();
    void socketFailed(QAbstractSocket::SocketError error);
    void end(Fault fault);

    QUrl url_;
    Headers headers_;
    http::AnswerReader answer_;
    QPointer<QAbstractSocket> socket_;
    Fault fault_ = Fault::None;
    QString errorText_;
    bool heardBack_ = false;
    bool ended_ = false;
};

} // namespace alborx::ui

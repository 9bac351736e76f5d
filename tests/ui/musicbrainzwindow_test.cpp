// The MusicBrainz window driven end to end against a local server that
// answers as the service does, and misbehaves on purpose.
#include "CardPanel.h"
#include "MusicBrainzClient.h"
#include "MusicBrainzDialog.h"
#include "Unit1.h"
#include "cataloguefile.h"
#include "uifixture.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTabWidget>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace alborx::test {
namespace {

struct Request
{
    QByteArray target; // path and query
    QByteArray userAgent;
    qint64 atMs = 0;
};

struct Response
{
    int status = 200;
    QByteArray body;
    QByteArray headers;      // extra header lines, each ending in CR LF
    bool silent = false;     // never answers
    bool hangUp = false;     // closes the connection without answering
    bool unmeasured = false; // no Content-Length: the end of the connection ends it
};

Response reply(int status, const QByteArray& body = {}, const QByteArray& headers = {})
{
    Response response;
    response.status = status;
    response.body = body;
    response.headers = headers;
    return response;
}

Response silence()
{
    Response response;
    response.silent = true;
    return response;
}

Response unmeasured(const QByteArray& body)
{
    Response response = reply(200, body);
    response.unmeasured = true;
    return response;
}

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(ALBORX_FIXTURES "/musicbrainz/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An HTTP/1.1 server on a free local port: every request is noted and
// answered by answer, one request a connection.
class FakeServer : public QObject
{
public:
    FakeServer()
    {
        server_.listen(QHostAddress::LocalHost);
        clock_.start();
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

    std::function<Response(const Request&)> answer = [](const Request&) { return Response{}; };
    std::vector<Request> requests;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& received = buffers_[socket];
        received += socket->readAll();
        if (!received.contains("\r\n\r\n"))
            return;
        Request request;
        const QList<QByteArray> lines = received.left(received.indexOf("\r\n\r\n")).split('\n');
        request.target = lines.value(0).split(' ').value(1);
        for (const QByteArray& line : lines) {
            if (line.toLower().startsWith("user-agent:"))
                request.userAgent = line.mid(11).trimmed();
        }
        request.atMs = clock_.elapsed();
        requests.push_back(request);
        buffers_.remove(socket);
        const Response response = answer(request);
        if (response.silent)
            return;
        if (response.hangUp) {
            socket->abort();
            return;
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " X\r\n" +
                          "Content-Type: application/json\r\nConnection: close\r\n" +
                          response.headers;
        if (!response.unmeasured)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        socket->write(head + "\r\n" + response.body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QElapsedTimer clock_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

// An answer that never ends, sent from a thread of its own so that it keeps
// coming while the window's thread is busy: chunks as fast as the client's
// side of the connection takes them, until the client closes it (or 1 GiB,
// or 20 s, have gone).
class EndlessServer
{
public:
    EndlessServer()
    {
        listening_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listening_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listening_, 1);
        socklen_t length = sizeof address;
        ::getsockname(listening_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~EndlessServer()
    {
        ::shutdown(listening_, SHUT_RDWR);
        ::close(listening_);
        thread_.join();
    }

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }
    std::atomic<qint64> sent{0};

private:
    void serve()
    {
        const int client = ::accept(listening_, nullptr, nullptr);
        if (client < 0)
            return;
        char request[4096];
        (void)::recv(client, request, sizeof request, 0);
        const std::string head = "HTTP/1.1 200 X\r\nContent-Type: application/json\r\n"
                                 "Transfer-Encoding: chunked\r\n\r\n";
        const std::string chunk = "40000\r\n" + std::string(0x40000, ' ') + "\r\n";
        const auto started = std::chrono::steady_clock::now();
        bool open = ::send(client, head.data(), head.size(), MSG_NOSIGNAL) > 0;
        while (open && sent < (qint64(1) << 30) &&
               std::chrono::steady_clock::now() - started < std::chrono::seconds(20)) {
            const ssize_t wrote = ::send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL);
            open = wrote > 0;
            if (open)
                sent += wrote;
        }
        ::close(client);
    }

    int listening_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
};

// The search query as the server reads it.
QString queryOf(const Request& request)
{
    const QUrl url(QString::fromLatin1(request.target));
    return QUrlQuery(url).queryItemValue(QStringLiteral("query"), QUrl::FullyDecoded);
}

class MusicBrainzWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        qputenv("ALBORX_MUSICBRAINZ_URL", server_.url().toUtf8());
        // The archive of covers has none unless a test says otherwise.
        archive_.answer = [](const Request&) { return reply(404); };
        qputenv("ALBORX_COVERART_URL", archive_.url().toUtf8());
        form_.poczatek({});
        form_.findChild<QAction*>(QStringLiteral("Szukajwmusicbrainz1"))->trigger();
        dialog_ = form_.MusicBrainz1;
        ASSERT_NE(dialog_, nullptr);
        dialog_->client()->setTimeout(500);
    }

    void TearDown() override
    {
        qunsetenv("ALBORX_MUSICBRAINZ_URL");
        qunsetenv("ALBORX_COVERART_URL");
        WindowTest::TearDown();
    }

    // A control of the window found as a screen reader finds it.
    template <typename Widget> Widget* control(const QString& name)
    {
        for (Widget* widget : dialog_->findChildren<Widget*>()) {
            if (widget->accessibleName() == name)
                return widget;
        }
        ADD_FAILURE() << "no control named " << name.toStdString();
        return nullptr;
    }

    // The status line, which a screen reader hears by its message.
    QString status()
    {
        const QString text = dialog_->stan->text();
        EXPECT_EQ(dialog_->stan->accessibleName(), text.isEmpty() ? QStringLiteral("Stan") : text);
        return text;
    }

    // Waits for the status line to show something other than work going on.
    QString outcome(int milliseconds = 5000)
    {
        (void)QTest::qWaitFor([this] { return !status().endsWith(QStringLiteral("…")); },
                              milliseconds);
        return status();
    }

    void search(const QString& performer, const QString& title, const QString& barcode = {})
    {
        control<QLineEdit>(QStringLiteral("Wykonawca"))->setText(performer);
        control<QLineEdit>(QStringLiteral("Album"))->setText(title);
        control<QLineEdit>(QStringLiteral("Kod kreskowy"))->setText(barcode);
        control<QPushButton>(QStringLiteral("Szukaj"))->click();
    }

    FakeServer server_;
    FakeServer archive_;
    TForm1 form_;
    MusicBrainzDialog* dialog_ = nullptr;
};

TEST_F(MusicBrainzWindow, SearchInsertAndAddSavesTheAlbum)
{
    server_.answer = [](const Request& request) {
        return reply(200, fixture(request.target.startsWith("/ws/2/release?") ? "search.json"
                                                                              : "release.json"));
    };
    form_.azespol->setText(QStringLiteral("AC/DC \"live\": (1979) OR NOT"));
    form_.aalbum->setText(QStringLiteral("Żółć"));
    form_.musicbrainzguz->click();
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Album"))->text(), QStringLiteral("Żółć"));
    control<QPushButton>(QStringLiteral("Szukaj"))->click();
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 3"));
    ASSERT_EQ(server_.requests.size(), 1u);
    EXPECT_EQ(queryOf(server_.requests[0]),
              QStringLiteral("artist:\"AC/DC \\\"live\\\": (1979) OR NOT\" AND release:\"Żółć\""));
    EXPECT_EQ(server_.requests[0].userAgent, ui::MusicBrainzClient::userAgent());
    EXPECT_TRUE(server_.requests[0].userAgent.contains("alborx@example.org"));

    auto* wyniki = control<QTableView>(QStringLiteral("Wyniki"));
    const QAbstractItemModel& results = *wyniki->model();
    EXPECT_EQ(results.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Nośnik"));
    EXPECT_EQ(results.index(1, 0).data().toString(), QStringLiteral("Björk feat. Дельфин"));
    EXPECT_EQ(results.index(1, 4).data().toString(), QStringLiteral("2×CD + DVD-Video"));
    EXPECT_EQ(results.index(0, 7).data().toInt(), 12);

    form_.idcd->setText(QStringLiteral("00042"));
    wyniki->setCurrentIndex(results.index(1, 0));
    QTest::keyClick(wyniki, Qt::Key_Return);
    EXPECT_TRUE(outcome().startsWith(QStringLiteral("Wstawiono do edytora.")));
    // The Cyrillic name has no letters in Windows-1250.
    EXPECT_TRUE(status().contains(QStringLiteral(" 7 znaków zastąpiono znakiem ?. ")));
    EXPECT_TRUE(server_.requests.back().target.startsWith(
        "/ws/2/release/0d4b6a44-9f63-4a0b-9a3c-59b7f5a5a002?inc="));
    EXPECT_EQ(form_.azespol->text(), QStringLiteral("Björk feat. Sigur Rós & ???????"));
    EXPECT_EQ(form_.agatunek->currentText(), QStringLiteral("Elektronika"));
    EXPECT_TRUE(form_.nosnikcd->isChecked());
    EXPECT_FALSE(form_.nosnikmc->isChecked());
    EXPECT_TRUE(form_.idcd->text().isEmpty());
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 0);

    form_.dodajguz->click();
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 1);
    const std::string saved = dir_.file("mb.abx");
    ASSERT_TRUE(form_.zapiszbaze(saved));
    const CatalogueContents contents = readCatalogue(saved);
    ASSERT_EQ(contents.albums.size(), 1u);
    EXPECT_EQ(contents.albums[0], (Row{"00001", "Bj\xF6rk feat. Sigur R\xF3s & ???????",
                                       "Kobiety s\xB9 gor\xB9"
                                       "ce  \x96 wydanie rozszerzone, zremasterowane z o",
                                       "Elektronika", "O", "-", "00001", "-"}));
}

TEST_F(MusicBrainzWindow, AReleaseFillsTheCardWithItsTracksAndCover)
{
    const QByteArray release = R"({"id": "r1", "title": "Spokojnie", "date": "1988-05",
        "country": "PL", "barcode": "5907", "artist-credit": [{"name": "Kult"}],
        "label-info": [{"catalog-number": "SX 2634", "label": {"name": "Arston"}}],
        "media": [{"format": "CD", "tracks": [
          {"number": "1", "title": "Wstałem", "length": 215000,
           "artist-credit": [{"name": "Kult"}], "recording": {"title": "x", "length": 1}},
          {"number": "2", "title": "Gość", "length": 3725000,
           "artist-credit": [{"name": "Kazik"}]}]}]})";
    server_.answer = [&](const Request& request) {
        return request.target.startsWith("/ws/2/release?")
                   ? reply(200, R"({"releases": [{"id": "r1", "title": "Spokojnie"}]})")
                   : reply(200, release);
    };
    // The archive sends to the server that keeps its pictures.
    QImage picture(2000, 2000, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    picture.save(&out, "png");
    FakeServer& archive = archive_;
    FakeServer pictures;
    archive.answer = [&](const Request& request) {
        return request.target == "/release/r1/front-500"
                   ? reply(307, {}, "Location: " + pictures.url().toUtf8() + "/r1.png\r\n")
                   : reply(404);
    };
    pictures.answer = [&](const Request&) { return reply(200, png); };

    search(QStringLiteral("Kult"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 1"));
    control<QPushButton>(QStringLiteral("Wstaw do edytora"))->click();
    EXPECT_TRUE(outcome().endsWith(QStringLiteral("Pobrano okładkę z Cover Art Archive.")))
        << status().toStdString();
    EXPECT_EQ(pictures.requests.size(), 1u);
    form_.dodajguz->click();
    QCoreApplication::processEvents();
    const CardRef card = form_.karty.card(form_.albumy.rowKey(1));
    ASSERT_TRUE(card);
    const AlbumCard texts = *form_.karty.texts(card);
    EXPECT_EQ(texts.rok, "1988");
    EXPECT_EQ(texts.wytwornia, "Arston");
    EXPECT_EQ(texts.numerKatalogowy, "SX 2634");
    EXPECT_EQ(texts.kraj, "PL");
    EXPECT_EQ(texts.kodKreskowy, "5907");
    EXPECT_EQ(texts.releaseId, "r1");
    EXPECT_EQ(texts.tracks, (std::vector<Track>{{"1", "Wstałem", "", "3:35"},
                                                {"2", "Gość", "Kazik", "1:02:05"}}));
    // The picture is kept no larger than a card needs.
    const QImage cover = QImage::fromData(QByteArray::fromStdString(*form_.karty.cover(card)));
    EXPECT_EQ(cover.size(), QSize(1200, 1200));

    // A release the archive has no cover of says so and keeps the card.
    archive.answer = [](const Request&) { return reply(404); };
    form_.listy->setCurrentWidget(form_.stronaKarty);
    control<QPushButton>(QStringLiteral("Wstaw do edytora"))->click();
    EXPECT_TRUE(outcome().endsWith(QStringLiteral("Wydanie nie ma okładki w Cover Art Archive.")))
        << status().toStdString();
    EXPECT_EQ(form_.kartaAlbumu->rok->text(), QStringLiteral("1988"));
    // The track list shows its rows (the view follows its model).
    EXPECT_EQ(form_.kartaAlbumu->utwory->verticalHeader()->count(), 2);
}

TEST_F(MusicBrainzWindow, AnswersWithoutAReleaseOrItsMediaSaySo)
{
    QByteArray lookup;
    server_.answer = [&](const Request& request) {
        if (request.target.startsWith("/ws/2/release?"))
            return reply(200, R"({"releases": [{"id": null, "title": "Bez ID"},
                                 {"id": "r1", "title": "Mix"}, null]})");
        return reply(200, lookup);
    };
    search(QStringLiteral("DJ"), QStringLiteral("Mix"));
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 1"));
    form_.azespol->setText(QStringLiteral("Przed"));
    auto* wyniki = control<QTableView>(QStringLiteral("Wyniki"));
    for (const char* answer : {"{}", R"({"error": "Not Found"})", R"({"releases": [{"id": "r1"}]})",
                               R"({"id": null, "title": null, "media": null})"}) {
        lookup = answer;
        wyniki->setCurrentIndex(wyniki->model()->index(0, 0));
        QTest::keyClick(wyniki, Qt::Key_Return);
        EXPECT_TRUE(outcome().endsWith(QStringLiteral("nie zawiera wydania; edytor pozostał bez "
                                                      "zmian.")))
            << answer << " " << status().toStdString();
        EXPECT_EQ(form_.azespol->text(), QStringLiteral("Przed"));
    }
    // A DJ mix with no media: nothing for Dodaj to add, and the window says so.
    lookup = R"({"id": "r1", "title": "Mix", "media": []})";
    QTest::keyClick(wyniki, Qt::Key_Return);
    EXPECT_EQ(outcome(), QStringLiteral("Wstawiono do edytora. Wydanie nie podaje nośnika; nie "
                                        "zaznaczono CD ani MC. Wydanie nie ma okładki w Cover "
                                        "Art Archive."));
}

TEST_F(MusicBrainzWindow, BarcodeAndDiscLookups)
{
    server_.answer = [](const Request& request) {
        if (request.target.startsWith("/ws/2/discid/"))
            return reply(200, fixture("discid.json"));
        return reply(200, fixture("search.json"));
    };
    search({}, {}, QStringLiteral("59 02596x"));
    EXPECT_EQ(status(),
              QStringLiteral("Kod kreskowy może zawierać tylko cyfry, spacje i myślniki."));
    search(QStringLiteral("Kult"), {}, QStringLiteral(" 5 902596-001234 "));
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 3"));
    ASSERT_EQ(server_.requests.size(), 1u);
    EXPECT_EQ(queryOf(server_.requests[0]), QStringLiteral("barcode:5902596001234"));

    dialog_->lookUpDisc(discOfToc({1, 6, 95462, {150, 15363, 32314, 46592, 63414, 80489}}));
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 1"));
    EXPECT_EQ(server_.requests.back().target,
              "/ws/2/discid/49HHV7Eb8UKF3aQiNmu1GR8vKTY-?toc=1+6+95462+150+15363+32314+46592+"
              "63414+80489&cdstubs=no&inc=artist-credits+labels&fmt=json");
    EXPECT_EQ(control<QTableView>(QStringLiteral("Wyniki"))->model()->index(0, 1).data(),
              QStringLiteral("Sześć utworów"));

    // No machine here has a drive.
    control<QComboBox>(QStringLiteral("Napęd"))->clear();
    control<QPushButton>(QStringLiteral("Czytaj płytę z napędu"))->click();
    EXPECT_EQ(outcome(), QStringLiteral("Nie znaleziono napędu CD."));
}

TEST_F(MusicBrainzWindow, EveryFaultEndsInAMessage)
{
    const QByteArray huge(5 * 1024 * 1024, ' ');
    const struct
    {
        const char* what;
        std::function<Response(int)> answer; // by the number of the request
        QString message;
        std::size_t requests;
    } cases[] = {
        {"503 then 200",
         [](int n) {
             return n == 0 ? reply(503, {}, "Retry-After: 1\r\n")
                           : reply(200, fixture("search.json"));
         },
         QStringLiteral("Znalezione wydania: 3"), 2},
        {"503 twice", [](int) { return reply(503, {}, "Retry-After: 1\r\n"); },
         QStringLiteral(
             "Serwer 127.0.0.1 jest przeciążony (błąd 503). Spróbuj ponownie za chwilę."),
         2},
        {"no answer", [](int) { return silence(); },
         QStringLiteral("Serwer 127.0.0.1 nie odpowiedział w ciągu 1 s."), 1},
        {"5 MiB announced", [&](int) { return reply(200, huge); },
         QStringLiteral("Odpowiedź serwera 127.0.0.1 jest za duża (ponad 4 MiB)."), 1},
        {"5 MiB arriving", [&](int) { return unmeasured(huge); },
         QStringLiteral("Odpowiedź serwera 127.0.0.1 jest za duża (ponad 4 MiB)."), 1},
        {"malformed JSON", [](int) { return reply(200, "{\"releases\": [{\"title\": "); },
         QStringLiteral("Odpowiedź serwera 127.0.0.1 nie jest poprawną odpowiedzią MusicBrainz."),
         1},
        {"wrong types", [](int) { return reply(200, "{\"releases\": [{\"title\": []}]}"); },
         QStringLiteral("Odpowiedź serwera 127.0.0.1 ma pola niewłaściwego rodzaju."), 1},
        {"redirect loop", [](int) { return reply(302, {}, "Location: /ws/2/release?query=x\r\n"); },
         QStringLiteral("Serwer 127.0.0.1 przekierowuje zbyt wiele razy lub w niebezpieczne "
                        "miejsce."),
         4},
        {"server error", [](int) { return reply(500, "oops"); },
         QStringLiteral("Serwer 127.0.0.1 odpowiedział błędem 500."), 1},
        {"429 then 200",
         [](int n) {
             return n == 0 ? reply(429, {}, "Retry-After: Thu, 01 Jan 1970 00:00:00 GMT\r\n")
                           : reply(200, fixture("search.json"));
         },
         QStringLiteral("Znalezione wydania: 3"), 2},
        {"redirect to another host",
         [](int) { return reply(302, {}, "Location: http://mirror.invalid/ws/2/release\r\n"); },
         QStringLiteral("Serwer 127.0.0.1 przekierowuje do innego serwera (mirror.invalid); "
                        "program tam nie pójdzie."),
         1},
        // Nothing is sent again at once behind the spacing's back.
        {"closed before answering",
         [](int) {
             Response hangUp;
             hangUp.hangUp = true;
             return hangUp;
         },
         QStringLiteral("Serwer 127.0.0.1 zamknął połączenie, nie odpowiadając."), 1},
        {"gzip",
         [](int) {
             // {"releases": []} as gzip writes it.
             return reply(
                 200,
                 QByteArray::fromHex(
                     "1f8b0800000000000003ab562a4acd494d2c4e2d56b252888ead050072e94caf10000000"),
                 "Content-Encoding: gzip\r\n");
         },
         QStringLiteral("Nic nie znaleziono."), 1},
        {"damaged gzip",
         [](int) { return reply(200, "not gzip at all", "Content-Encoding: gzip\r\n"); },
         QStringLiteral("Serwer 127.0.0.1 przysłał uszkodzoną odpowiedź skompresowaną; nie można "
                        "jej odczytać."),
         1},
        {"cut off during the answer",
         [](int) {
             Response cut = unmeasured("{\"releases\": [");
             cut.headers = "Content-Length: 1000\r\n";
             return cut;
         },
         QStringLiteral("Serwer 127.0.0.1 przerwał połączenie w trakcie odpowiedzi."), 1},
    };
    for (const auto& c : cases) {
        server_.requests.clear();
        server_.answer = [&](const Request&) {
            return c.answer(static_cast<int>(server_.requests.size()) - 1);
        };
        search(QStringLiteral("Kult"), {});
        EXPECT_EQ(outcome(15000), c.message) << c.what;
        EXPECT_EQ(server_.requests.size(), c.requests) << c.what;
        // Retries and redirects keep the spacing of every other request.
        for (std::size_t i = 1; i < server_.requests.size(); ++i)
            EXPECT_GE(server_.requests[i].atMs - server_.requests[i - 1].atMs, 950) << c.what;
    }
}

TEST_F(MusicBrainzWindow, AnEndlessAnswerIsStoppedAtTheCap)
{
    EndlessServer endless;
    dialog_->client()->setServer(QUrl(endless.url()));
    dialog_->client()->setTimeout(15000);
    search(QStringLiteral("Kult"), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return endless.sent > 1024 * 1024; }, 5000));
    // The window's thread is busy for a while, as a slow machine's is: the
    // answer must not pile up meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(outcome(15000),
              QStringLiteral("Odpowiedź serwera 127.0.0.1 jest za duża (ponad 4 MiB)."));
    // No more than the cap and the buffers on the way (the client's, the
    // system's) was ever taken from the server.
    EXPECT_LT(endless.sent, 32 * 1024 * 1024);
}

// A search answer of 100 releases of 4321 from the offset the request asks.
Response pageOfReleases(const Request& request)
{
    const int offset = QUrlQuery(QUrl(QString::fromLatin1(request.target)))
                           .queryItemValue(QStringLiteral("offset"))
                           .toInt();
    QByteArray json = "{\"count\": 4321, \"releases\": [";
    for (int i = 0; i < 100; ++i)
        json += (i > 0 ? "," : "") + QByteArray("{\"id\": \"r") + QByteArray::number(offset + i) +
                "\", \"title\": \"Dark Side\", \"date\": \"1973-03-24\"" +
                (i == 1 ? ", \"disambiguation\": \"quadraphonic\"" : "") + "}";
    return reply(200, json + "]}");
}

TEST_F(MusicBrainzWindow, PagesOfResultsAndTheReleaseSelected)
{
    server_.answer = pageOfReleases;
    search(QStringLiteral("Pink Floyd"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 100 z 4321"));
    auto* wyniki = control<QTableView>(QStringLiteral("Wyniki"));
    const QAbstractItemModel& results = *wyniki->model();
    EXPECT_EQ(results.index(0, 2).data().toString(), QStringLiteral("1973-03-24"));
    EXPECT_EQ(results.index(1, 1).data().toString(), QStringLiteral("Dark Side (quadraphonic)"));
    auto* next = control<QPushButton>(QStringLiteral("Następne"));
    ASSERT_TRUE(next->isEnabled());
    next->click();
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 101–200 z 4321"));
    EXPECT_TRUE(server_.requests.back().target.contains("&offset=100&"));

    // The release selected is inserted, as an assistive tool selects it,
    // not the current row.
    wyniki->setCurrentIndex(results.index(0, 0));
    wyniki->selectionModel()->select(results.index(5, 0), QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    server_.answer = [](const Request&) { return silence(); };
    control<QPushButton>(QStringLiteral("Wstaw do edytora"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.requests.size() == 3; }, 3000));
    EXPECT_TRUE(server_.requests.back().target.startsWith("/ws/2/release/r105?"));

    // A new search shows nothing of the last one while it waits; Anuluj,
    // or Escape, stops it and leaves the window open.
    control<QPushButton>(QStringLiteral("Anuluj"))->click();
    search(QStringLiteral("Kult"), {});
    EXPECT_EQ(results.rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>(QStringLiteral("Wstaw do edytora"))->isEnabled());
    EXPECT_TRUE(control<QPushButton>(QStringLiteral("Anuluj"))->isEnabled());
    dialog_->show();
    QTest::keyClick(dialog_, Qt::Key_Escape);
    EXPECT_EQ(status(), QStringLiteral("Przerwano."));
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(dialog_->client()->busy());
}

TEST_F(MusicBrainzWindow, AHugeFieldIsCutBeforeItIsShown)
{
    // A title of 4 MB and a performer of 150 KB, under the answer's cap.
    const QByteArray answer = "{\"releases\": [{\"id\": \"r\", \"title\": \"" +
                              QByteArray(4'000'000, 'x') + "\", \"artist-credit\": [{\"name\": \"" +
                              QByteArray(150'000, 'y') + "\"}]}]}";
    server_.answer = [&](const Request&) { return reply(200, answer); };
    search(QStringLiteral("x"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 1"));
    const QAbstractItemModel& results = *control<QTableView>(QStringLiteral("Wyniki"))->model();
    for (int column : {0, 1}) {
        for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)})
            EXPECT_LE(results.index(0, column).data(role).toString().size(),
                      qsizetype(musicbrainz::kMostFieldBytes));
    }
}

TEST_F(MusicBrainzWindow, TheWindowFitsTheScreenAndLeavesDodajInReach)
{
    const QRect room = form_.screen()->availableGeometry();
    form_.setGeometry(room.left(), room.top(), room.width(), room.height());
    form_.show();
    dialog_->hide();
    dialog_->resize(room.width() + 300, room.height() + 300);
    dialog_->show();
    const QRect shown = dialog_->frameGeometry();
    EXPECT_TRUE(room.contains(shown))
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    const QRect dodaj(form_.dodajguz->mapToGlobal(QPoint(0, 0)), form_.dodajguz->size());
    EXPECT_FALSE(shown.intersects(dodaj));
}

TEST_F(MusicBrainzWindow, UnknownDiscAndRefusedConnection)
{
    server_.answer = [](const Request&) { return reply(404, "{\"error\": \"Not Found\"}"); };
    dialog_->lookUpDisc(discOfToc({1, 2, 30000, {150, 15000}}));
    EXPECT_EQ(outcome(), QStringLiteral("Płyty nie ma w bazie MusicBrainz"));
    EXPECT_TRUE(control<QLineEdit>(QStringLiteral("Wykonawca"))->hasFocus() ||
                !dialog_->isActiveWindow());

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    dialog_->client()->setServer(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)));
    search(QStringLiteral("Kult"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Serwer 127.0.0.1 odmówił połączenia."));
}

TEST_F(MusicBrainzWindow, TheCertificateDecidesWhetherTheServerIsTrusted)
{
    QFile certificate(QStringLiteral(ALBORX_FIXTURES "/musicbrainz/tls/cert.pem"));
    QFile key(QStringLiteral(ALBORX_FIXTURES "/musicbrainz/tls/key.pem"));
    ASSERT_TRUE(certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
    const QSslCertificate own(certificate.readAll());
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(own);
    tls.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
    QSslServer server;
    server.setSslConfiguration(tls);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::pendingConnectionAvailable, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            const QByteArray body = fixture("search.json");
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                          "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    });
    dialog_->client()->setServer(
        QUrl(QStringLiteral("https://127.0.0.1:%1").arg(server.serverPort())));
    search(QStringLiteral("Kult"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Nie można bezpiecznie połączyć się z serwerem 127.0.0.1: "
                                        "jego certyfikat nie jest zaufany."));

    // Once the system trusts it, the same server is asked and answers.
    const QSslConfiguration system = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = system;
    trusting.addCaCertificate(own);
    QSslConfiguration::setDefaultConfiguration(trusting);
    search(QStringLiteral("Kult"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 3"));
    QSslConfiguration::setDefaultConfiguration(system);
}

TEST_F(MusicBrainzWindow, RequestsAreSpacedAndCloseAbortsThem)
{
    server_.answer = [](const Request&) { return reply(200, fixture("search.json")); };
    search(QStringLiteral("A"), {});
    search(QStringLiteral("B"), {}); // drops the first before or after it went out
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 3"));
    search(QStringLiteral("C"), {});
    EXPECT_EQ(outcome(), QStringLiteral("Znalezione wydania: 3"));
    ASSERT_GE(server_.requests.size(), 2u);
    EXPECT_EQ(queryOf(server_.requests.back()), QStringLiteral("artist:\"C\""));
    // Receipt times differ from sending times by the connection's set-up.
    for (std::size_t i = 1; i < server_.requests.size(); ++i)
        EXPECT_GE(server_.requests[i].atMs - server_.requests[i - 1].atMs, 950);

    server_.answer = [](const Request&) { return silence(); };
    search(QStringLiteral("D"), {});
    control<QPushButton>(QStringLiteral("Zamknij"))->click();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_FALSE(dialog_->client()->busy());
}

TEST(MusicBrainzServer, OnlyWebAddressesAreTaken)
{
    const struct
    {
        const char* configured;
        const char* used;
    } cases[] = {{"http://mirror.local:5000/", "http://mirror.local:5000"},
                 {"https://mb.example.org/mirror//?x=1#y", "https://mb.example.org/mirror"},
                 {"file:///etc/passwd", "https://musicbrainz.org"},
                 {"ftp://x.org", "https://musicbrainz.org"},
                 {"not a url", "https://musicbrainz.org"},
                 {"", "https://musicbrainz.org"}};
    for (const auto& c : cases) {
        qputenv("ALBORX_MUSICBRAINZ_URL", c.configured);
        EXPECT_EQ(ui::MusicBrainzClient::configuredServer().toString(), QString::fromLatin1(c.used))
            << c.configured;
    }
    qunsetenv("ALBORX_MUSICBRAINZ_URL");
}

} // namespace
} // namespace alborx::test

#include "MusicBrainzDialog.h"

#include "MusicBrainzClient.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <memory>

namespace mb = alborx::musicbrainz;
using alborx::ui::MusicBrainzClient;
using alborx::ui::ReleaseTableModel;

namespace {

constexpr std::array<const char*, 8> kColumnTitles{
    "Wykonawca", "Album", "Data", "Kraj", "Nośnik", "Wydawca", "Kod kreskowy", "Utwory"};

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "3 znaki zastąpiono znakiem ?." with the Polish plural.
QString questionMarksText(int count)
{
    const int lastTwo = count % 100;
    const int last = count % 10;
    const char* noun = count == 1                                                 ? "znak"
                       : last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? "znaki"
                                                                                  : "znaków";
    return QStringLiteral("%1 %2 zastąpiono znakiem ?.").arg(count).arg(QString::fromUtf8(noun));
}

} // namespace

void ReleaseTableModel::setReleases(std::vector<mb::ReleaseSummary> releases)
{
    beginResetModel();
    releases_ = std::move(releases);
    endResetModel();
}

int ReleaseTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(releases_.size());
}

int ReleaseTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(kColumnTitles.size());
}

QVariant ReleaseTableModel::data(const QModelIndex& index, int role) const
{
    // A cell too narrow for its text shows all of it as its tooltip.
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole))
        return {};
    const mb::ReleaseSummary& release = releases_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return fromUtf8(release.artist);
    case 1:
        // The disambiguation tells apart releases alike in every column.
        return release.disambiguation.empty()
                   ? fromUtf8(release.title)
                   : fromUtf8(release.title) + QStringLiteral(" (") +
                         fromUtf8(release.disambiguation) + QLatin1Char(')');
    case 2:
        return fromUtf8(release.date);
    case 3:
        return fromUtf8(release.country);
    case 4:
        return fromUtf8(release.medium);
    case 5:
        return fromUtf8(release.label);
    case 6:
        return fromUtf8(release.barcode);
    default:
        return release.tracks > 0 ? QVariant(release.tracks) : QVariant();
    }
}

QVariant ReleaseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(kColumnTitles.size()))
        return {};
    return QString::fromUtf8(kColumnTitles[static_cast<std::size_t>(section)]);
}

MusicBrainzDialog::MusicBrainzDialog(const alborx::GenreList& genres, QWidget* parent)
    : QDialog(parent), genres_(genres), covers_(new MusicBrainzClient(this)),
      client_(new MusicBrainzClient(this))
{
    covers_->setServer(MusicBrainzClient::configuredCoverServer());
    covers_->setAnswers("image/*", alborx::kMostCoverBytes);
    covers_->setOtherServersFollowed(true);
    setObjectName(QStringLiteral("MusicBrainz"));
    setWindowTitle(QStringLiteral("MusicBrainz"));
    setAccessibleName(windowTitle());
    resize(820, 460);

    const auto field = [this](const char* name, const QString& hint) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setToolTip(hint);
        return edit;
    };
    wykonawca = field("wykonawca", QStringLiteral("Wykonawca szukanych wydań"));
    album = field("album", QStringLiteral("Tytuł szukanego wydania"));
    kodKreskowy = field("kodKreskowy", QStringLiteral("Kod kreskowy z pudełka (EAN lub UPC); "
                                                      "gdy jest wpisany, szuka się tylko po nim"));
    naped = new QComboBox(this);
    naped->setObjectName(QStringLiteral("naped"));
    naped->setToolTip(QStringLiteral("Napęd, z którego czyta się płytę"));
    naped->setPlaceholderText(QStringLiteral("(nie znaleziono napędu CD)"));

    auto* form = new QGridLayout;
    const auto row = [&](int at, const QString& caption, QWidget* widget) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(widget);
        widget->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        form->addWidget(label, at, 0);
        form->addWidget(widget, at, 1);
    };
    row(0, QStringLiteral("&Wykonawca"), wykonawca);
    row(1, QStringLiteral("&Album"), album);
    row(2, QStringLiteral("&Kod kreskowy"), kodKreskowy);
    row(3, QStringLiteral("&Napęd"), naped);

    const auto button = [this](const char* name, const QString& caption, const QString& hint) {
        auto* pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(QString::fromLatin1(name));
        pushButton->setAccessibleName(caption);
        pushButton->setToolTip(hint);
        pushButton->setAutoDefault(false);
        return pushButton;
    };
    Szukaj = button("Szukaj", QStringLiteral("Szukaj"),
                    QStringLiteral("Szuka wydań po kodzie kreskowym albo po wykonawcy i albumie"));
    Szukaj->setDefault(true);
    Czytaj = button("Czytaj", QStringLiteral("Czytaj płytę z napędu"),
                    QStringLiteral("Odczytuje spis utworów płyty w napędzie i szuka jej w bazie"));
    Wstaw = button("Wstaw", QStringLiteral("Wstaw do edytora"),
                   QStringLiteral("Zaczyna w edytorze nowy album z danymi wybranego wydania"));
    Wstaw->setEnabled(false);
    Nastepne = button("Nastepne", QStringLiteral("Następne"),
                      QStringLiteral("Pokazuje następne wydania znalezione przez to szukanie"));
    Nastepne->setEnabled(false);
    Anuluj = button("Anuluj", QStringLiteral("Anuluj"),
                    QStringLiteral("Przerywa szukanie lub pobieranie; klawisz Esc robi to samo"));
    Anuluj->setEnabled(false);
    Zamknij = button("Zamknij", QStringLiteral("Zamknij"), QStringLiteral("Zamyka okno"));
    auto* searchButtons = new QVBoxLayout;
    searchButtons->addWidget(Szukaj);
    searchButtons->addWidget(Czytaj);
    searchButtons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(searchButtons);

    wynikiModel = new ReleaseTableModel(this);
    wyniki = new QTableView(this);
    wyniki->setObjectName(QStringLiteral("wyniki"));
    wyniki->setAccessibleName(QStringLiteral("Wyniki"));
    wyniki->setModel(wynikiModel);
    wyniki->setSelectionBehavior(QAbstractItemView::SelectRows);
    wyniki->setSelectionMode(QAbstractItemView::SingleSelection);
    wyniki->setEditTriggers(QAbstractItemView::NoEditTriggers);
    wyniki->setWordWrap(false);
    wyniki->verticalHeader()->hide();
    wyniki->verticalHeader()->setDefaultSectionSize(wyniki->fontMetrics().height() + 6);
    wyniki->horizontalHeader()->setStretchLastSection(true);
    const std::array<int, 8> widths{170, 170, 82, 40, 100, 110, 110, 50};
    for (std::size_t c = 0; c < widths.size(); ++c)
        wyniki->setColumnWidth(static_cast<int>(c), widths[c]);
    wyniki->installEventFilter(this);

    stan = new QLabel(this);
    stan->setObjectName(QStringLiteral("stan"));
    stan->setAccessibleName(QStringLiteral("Stan"));
    stan->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long message wraps instead of widening the window past the screen.
    stan->setWordWrap(true);
    stan->setMinimumWidth(120);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(stan, 1);
    bottom->addWidget(Nastepne);
    bottom->addWidget(Anuluj);
    bottom->addWidget(Wstaw);
    bottom->addWidget(Zamknij);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(wyniki, 1);
    layout->addLayout(bottom);

    connect(Szukaj, &QPushButton::clicked, this, &MusicBrainzDialog::SzukajClick);
    connect(Czytaj, &QPushButton::clicked, this, &MusicBrainzDialog::CzytajClick);
    connect(Wstaw, &QPushButton::clicked, this, &MusicBrainzDialog::WstawClick);
    connect(Nastepne, &QPushButton::clicked, this, &MusicBrainzDialog::NastepneClick);
    connect(Anuluj, &QPushButton::clicked, this, &MusicBrainzDialog::AnulujClick);
    // Zamknij closes the window even while a request is in flight.
    connect(Zamknij, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(wyniki, &QTableView::doubleClicked, this, &MusicBrainzDialog::WstawClick);
    connect(wyniki->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { Wstaw->setEnabled(current.isValid()); });
    connect(client_, &MusicBrainzClient::answered, this, &MusicBrainzDialog::takeAnswer);
    connect(client_, &MusicBrainzClient::failed, this, &MusicBrainzDialog::takeFailure);
    connect(covers_, &MusicBrainzClient::answered, this, [this](const QByteArray& picture) {
        showBusy(false);
        setStatus(inserted_ + QStringLiteral(" Pobrano okładkę z Cover Art Archive."));
        emit coverFetched(std::exchange(coverRelease_, {}), picture);
    });
    connect(covers_, &MusicBrainzClient::failed, this, [this](const QString& message, int status) {
        coverRelease_.clear();
        showBusy(false);
        setStatus(inserted_ + QLatin1Char(' ') +
                  (status == 404 ? QStringLiteral("Wydanie nie ma okładki w Cover Art Archive.")
                                 : QStringLiteral("Okładki nie pobrano: ") + message));
    });
}

void MusicBrainzDialog::start(const QString& performer, const QString& title)
{
    wykonawca->setText(performer);
    album->setText(title);
    kodKreskowy->clear();
    naped->clear();
    for (const std::string& drive : alborx::cdDrives())
        naped->addItem(QString::fromStdString(drive));
    setStatus({});
    wykonawca->setFocus();
}

void MusicBrainzDialog::SzukajClick()
{
    const QString barcode = kodKreskowy->text();
    if (!barcode.trimmed().isEmpty()) {
        const auto digits = mb::barcodeDigits(barcode.toStdString());
        if (!digits) {
            setStatus(QStringLiteral("Kod kreskowy może zawierać tylko cyfry, spacje i myślniki."));
            kodKreskowy->setFocus();
            return;
        }
        search(mb::barcodeQuery(*digits), 0);
        return;
    }
    const std::string query =
        mb::releaseQuery(wykonawca->text().toStdString(), album->text().toStdString());
    if (query.empty()) {
        setStatus(QStringLiteral("Wpisz wykonawcę, album albo kod kreskowy."));
        wykonawca->setFocus();
        return;
    }
    search(query, 0);
}

void MusicBrainzDialog::search(const std::string& query, int offset)
{
    query_ = query;
    offset_ = offset;
    ask(Asking::Search, mb::searchPath(query, offset), QStringLiteral("Szukanie…"));
}

void MusicBrainzDialog::NastepneClick()
{
    if (!query_.empty())
        search(query_, offset_ + mb::kSearchLimit);
}

void MusicBrainzDialog::AnulujClick()
{
    if (!client_->busy() && !covers_->busy())
        return;
    client_->abort();
    covers_->abort();
    coverRelease_.clear();
    asking_ = Asking::Nothing;
    showBusy(false);
    setStatus(QStringLiteral("Przerwano."));
}

void MusicBrainzDialog::reject()
{
    if (client_->busy() || covers_->busy())
        AnulujClick();
    else
        QDialog::reject();
}

void MusicBrainzDialog::showBusy(bool busy)
{
    Anuluj->setEnabled(busy);
}

void MusicBrainzDialog::CzytajClick()
{
    if (readingDisc_)
        return;
    client_->abort();
    asking_ = Asking::Nothing;
    readingDisc_ = true;
    Czytaj->setEnabled(false);
    setStatus(QStringLiteral("Czytanie płyty…"));
    // A drive takes seconds to spin up; the window answers meanwhile.
    const std::string device = naped->currentText().toStdString();
    auto disc = std::make_shared<alborx::Disc>();
    QThread* reader = QThread::create([device, disc] { *disc = alborx::readDisc(device); });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, disc] {
        readingDisc_ = false;
        Czytaj->setEnabled(true);
        lookUpDisc(*disc);
    });
    reader->start();
}

void MusicBrainzDialog::lookUpDisc(const alborx::Disc& disc)
{
    switch (disc.status) {
    case alborx::DiscStatus::Read:
        query_.clear();
        offset_ = 0;
        ask(Asking::Disc, mb::discIdPath(disc.id, disc.toc),
            QStringLiteral("Szukanie płyty %1…").arg(QString::fromStdString(disc.id)));
        return;
    case alborx::DiscStatus::NoDrive:
        setStatus(QStringLiteral("Nie znaleziono napędu CD."));
        return;
    case alborx::DiscStatus::NoDisc:
        setStatus(QStringLiteral("W napędzie nie ma płyty."));
        return;
    case alborx::DiscStatus::Unreadable:
    case alborx::DiscStatus::BadToc:
        setStatus(QStringLiteral("Nie można odczytać płyty (%1).")
                      .arg(QString::fromStdString(disc.error)));
        return;
    }
}

void MusicBrainzDialog::WstawClick()
{
    // The release the user selected, by whatever means (an assistive tool
    // selects without moving the current row); else the current one.
    const QModelIndexList selected = wyniki->selectionModel()->selectedRows();
    const QModelIndex chosen = selected.isEmpty() ? wyniki->currentIndex() : selected.front();
    const auto& releases = wynikiModel->releases();
    if (!chosen.isValid() || chosen.row() >= static_cast<int>(releases.size()))
        return;
    const std::string& id = releases[static_cast<std::size_t>(chosen.row())].id;
    ask(Asking::Release, mb::releasePath(id), QStringLiteral("Pobieranie wydania…"));
}

void MusicBrainzDialog::ask(Asking what, const std::string& path, const QString& status)
{
    asking_ = what;
    covers_->abort();
    coverRelease_.clear();
    // Until the answer comes, nothing of an earlier search can be inserted.
    if (what != Asking::Release) {
        wynikiModel->setReleases({});
        Wstaw->setEnabled(false);
        Nastepne->setEnabled(false);
    }
    setStatus(status);
    showBusy(true);
    client_->get(path);
}

void MusicBrainzDialog::takeAnswer(const QByteArray& body)
{
    const Asking asked = std::exchange(asking_, Asking::Nothing);
    showBusy(false);
    const std::string_view text(body.constData(), static_cast<std::size_t>(body.size()));
    if (asked == Asking::Release) {
        mb::ReleaseAnswer answer = mb::readRelease(text);
        if (answer.error != mb::AnswerError::None) {
            setStatus(answerFault(answer.error));
            return;
        }
        const mb::EditorFill fill = mb::editorFill(answer.release, genres_);
        QString said;
        if (!fill.form.nosnikcd && !fill.form.nosnikmc && fill.otherMedium.empty())
            said = QStringLiteral("Wstawiono do edytora. Wydanie nie podaje nośnika; nie "
                                  "zaznaczono CD ani MC.");
        else if (fill.otherMedium.empty())
            said = QStringLiteral("Wstawiono do edytora. Naciśnij „Dodaj”, by dodać album do "
                                  "bazy.");
        else
            said = QStringLiteral("Wstawiono do edytora. Wydanie jest na nośniku %1, "
                                  "którego katalog nie obejmuje; nie zaznaczono CD ani MC.")
                       .arg(fromUtf8(fill.otherMedium));
        if (fill.questionMarks > 0)
            said += QLatin1Char(' ') + questionMarksText(fill.questionMarks);
        emit fillEditor(fill);
        inserted_ = said;
        coverRelease_ = fill.card.releaseId;
        if (coverRelease_.empty()) {
            setStatus(said);
            return;
        }
        setStatus(said + QStringLiteral(" Pobieranie okładki…"));
        showBusy(true);
        covers_->get("/release/" + mb::percentEncoded(coverRelease_) + "/front-500");
        return;
    }
    mb::ReleaseList list = mb::readReleaseList(text);
    if (list.error != mb::AnswerError::None) {
        setStatus(answerFault(list.error));
        return;
    }
    if (asked == Asking::Disc && list.releases.empty()) {
        discUnknown();
        return;
    }
    showReleases(std::move(list.releases), asked == Asking::Search ? list.total : 0);
}

void MusicBrainzDialog::takeFailure(const QString& message, int status)
{
    const Asking asked = std::exchange(asking_, Asking::Nothing);
    showBusy(false);
    // The service answers 404 for a disc ID it does not know.
    if (asked == Asking::Disc && status == 404)
        discUnknown();
    else
        setStatus(message);
}

void MusicBrainzDialog::showReleases(std::vector<mb::ReleaseSummary> releases, int total)
{
    const int count = static_cast<int>(releases.size());
    wynikiModel->setReleases(std::move(releases));
    Wstaw->setEnabled(false);
    const int shownTo = offset_ + count;
    Nastepne->setEnabled(total > shownTo && count > 0);
    if (count == 0) {
        setStatus(QStringLiteral("Nic nie znaleziono."));
        return;
    }
    wyniki->setCurrentIndex(wynikiModel->index(0, 0));
    // A search found more than a page shows: which of how many are listed.
    if (total <= count && offset_ == 0)
        setStatus(QStringLiteral("Znalezione wydania: %1").arg(count));
    else if (offset_ == 0)
        setStatus(QStringLiteral("Znalezione wydania: %1 z %2").arg(count).arg(total));
    else
        setStatus(QStringLiteral("Znalezione wydania: %1–%2 z %3")
                      .arg(offset_ + 1)
                      .arg(shownTo)
                      .arg(std::max(total, shownTo)));
}

void MusicBrainzDialog::discUnknown()
{
    wynikiModel->setReleases({});
    Wstaw->setEnabled(false);
    setStatus(QStringLiteral("Płyty nie ma w bazie MusicBrainz"));
    wykonawca->setFocus();
    wykonawca->selectAll();
}

QString MusicBrainzDialog::answerFault(mb::AnswerError error) const
{
    const QString host = client_->server().host();
    switch (error) {
    case mb::AnswerError::TooDeep:
        return QStringLiteral("Odpowiedź serwera %1 jest zagnieżdżona głębiej, niż pozwala układ "
                              "danych MusicBrainz.")
            .arg(host);
    case mb::AnswerError::WrongType:
        return QStringLiteral("Odpowiedź serwera %1 ma pola niewłaściwego rodzaju.").arg(host);
    case mb::AnswerError::NoRelease:
        return QStringLiteral("Odpowiedź serwera %1 nie zawiera wydania; edytor pozostał bez "
                              "zmian.")
            .arg(host);
    default:
        return QStringLiteral("Odpowiedź serwera %1 nie jest poprawną odpowiedzią MusicBrainz.")
            .arg(host);
    }
}

void MusicBrainzDialog::setStatus(const QString& text)
{
    stan->setText(text);
    // A screen reader reads a label's name: the name is the message, and
    // each new one is announced.
    stan->setAccessibleName(text.isEmpty() ? QStringLiteral("Stan") : text);
    QAccessibleEvent changed(stan, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    if (!text.isEmpty()) {
        QAccessibleEvent alert(stan, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void MusicBrainzDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QWidget* main = parentWidget();
    QScreen* screen = main != nullptr ? main->screen() : this->screen();
    if (screen == nullptr)
        return;
    // The room on the screen for the window itself, its frame left out.
    const QSize margins = (frameGeometry().size() - this->size()).expandedTo(QSize(0, 0));
    const QRect screenRoom = screen->availableGeometry();
    const QRect room = screenRoom.adjusted(0, 0, -margins.width(), -margins.height());
    const QSize least = minimumSizeHint();
    QSize size = this->size().boundedTo(room.size()).expandedTo(least.boundedTo(room.size()));
    QPoint at = pos();
    if (main != nullptr) {
        const QRect beside = main->frameGeometry();
        if (beside.right() + 1 + size.width() <= room.right() + 1) {
            at = QPoint(beside.right() + 1, beside.top());
        } else if (beside.left() - size.width() >= room.left()) {
            at = QPoint(beside.left() - size.width(), beside.top());
        } else {
            // No room beside it: below the part to keep clear (the editor),
            // as tall as the screen leaves there.
            const int below = keepClear_ != nullptr
                                  ? keepClear_->mapToGlobal(QPoint(0, keepClear_->height())).y() + 1
                                  : beside.top() + beside.height() / 3;
            at = QPoint(beside.left(), below);
            const int fits = room.bottom() + 1 - below;
            if (fits >= least.height())
                size.setHeight(std::min(size.height(), fits));
        }
    }
    resize(size);
    at.setX(
        std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
    at.setY(
        std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    move(at);
}

void MusicBrainzDialog::done(int result)
{
    client_->abort();
    covers_->abort();
    asking_ = Asking::Nothing;
    QDialog::done(result);
}

bool MusicBrainzDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == wyniki && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            WstawClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

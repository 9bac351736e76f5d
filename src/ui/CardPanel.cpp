#include "CardPanel.h"

#include "dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace alborx::ui {

namespace {

// A picture of more pixels than this is refused before it is decoded.
constexpr qint64 kMostCoverPixels = 50'000'000;
// What decoding one picture may allocate, in MiB.
constexpr int kDecodingLimitMiB = 256;
// The biggest picture file read from disk.
constexpr qint64 kMostCoverFileBytes = 64 * 1024 * 1024;
constexpr int kCoverShownSide = 260;

QString utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string utf8(const QString& text)
{
    return cutUtf8(text.toStdString());
}

QLineEdit* field(QFormLayout* form, const QString& caption)
{
    auto* edit = new QLineEdit;
    edit->setAccessibleName(caption);
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    form->addRow(label, edit);
    return edit;
}

QPushButton* button(const QString& caption)
{
    auto* pushButton = new QPushButton(caption);
    pushButton->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return pushButton;
}

} // namespace

std::optional<std::string> coverForCard(const QByteArray& bytes, QString& error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kDecodingLimitMiB);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty()) {
        error = QStringLiteral("To nie jest obraz, który program umie odczytać.");
        return std::nullopt;
    }
    if (qint64(size.width()) * size.height() > kMostCoverPixels) {
        error = QStringLiteral("Obraz jest za duży (%1 × %2 pikseli).")
                    .arg(size.width())
                    .arg(size.height());
        return std::nullopt;
    }
    const QByteArray format = reader.format();
    const bool large = std::max(size.width(), size.height()) > kMostCoverSide;
    if (large)
        reader.setScaledSize(size.scaled(kMostCoverSide, kMostCoverSide, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull()) {
        error = QStringLiteral("Obrazu nie można odczytać: ") + reader.errorString();
        return std::nullopt;
    }
    const bool kept = !large && (format == "jpeg" || format == "png") &&
                      bytes.size() <= qsizetype(kMostCoverBytes);
    if (kept)
        return bytes.toStdString();
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, image.hasAlphaChannel() ? "png" : "jpeg");
    writer.setQuality(88);
    if (!writer.write(image) || written.size() > qsizetype(kMostCoverBytes)) {
        error = QStringLiteral("Obrazu nie można zapisać w karcie.");
        return std::nullopt;
    }
    return written.toStdString();
}

QImage coverPicture(const std::string& bytes, const QSize& room)
{
    QBuffer buffer;
    buffer.setData(QByteArray::fromStdString(bytes));
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kDecodingLimitMiB);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() ||
        qint64(size.width()) * size.height() > kMostCoverPixels)
        return {};
    reader.setScaledSize(size.scaled(room, Qt::KeepAspectRatio));
    return reader.read();
}

CardPanel::CardPanel(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    tytul = new QLabel;
    tytul->setWordWrap(true);
    left->addWidget(tytul);
    auto* form = new QFormLayout;
    rok = field(form, QStringLiteral("Rok"));
    wytwornia = field(form, QStringLiteral("Wytwórnia"));
    numerKatalogowy = field(form, QStringLiteral("Numer katalogowy"));
    kraj = field(form, QStringLiteral("Kraj"));
    kodKreskowy = field(form, QStringLiteral("Kod kreskowy"));
    uwagi = new QPlainTextEdit;
    uwagi->setAccessibleName(QStringLiteral("Uwagi"));
    uwagi->setTabChangesFocus(true);
    uwagi->setMaximumHeight(80);
    uwagi->installEventFilter(this);
    auto* uwagiLabel = new QLabel(QStringLiteral("Uwagi"));
    uwagiLabel->setBuddy(uwagi);
    form->addRow(uwagiLabel, uwagi);
    left->addLayout(form);
    for (QLineEdit* edit : {rok, wytwornia, numerKatalogowy, kraj, kodKreskowy}) {
        edit->setMaxLength(int(kMostCardTextBytes));
        connect(edit, &QLineEdit::editingFinished, this, &CardPanel::textsChanged);
    }

    utworyModel = new QStandardItemModel(0, 4, this);
    utworyModel->setHorizontalHeaderLabels({QStringLiteral("Nr"), QStringLiteral("Tytuł"),
                                            QStringLiteral("Wykonawca"), QStringLiteral("Czas")});
    connect(utworyModel, &QStandardItemModel::itemChanged, this, &CardPanel::textsChanged);
    utwory = new QTableView;
    utwory->setModel(utworyModel);
    utwory->setAccessibleName(QStringLiteral("Utwory"));
    utwory->verticalHeader()->hide();
    utwory->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    utwory->setColumnWidth(0, 40);
    utwory->setColumnWidth(3, 60);
    left->addWidget(utwory, 1);
    auto* trackButtons = new QHBoxLayout;
    QPushButton* dodajUtwor = button(QStringLiteral("Dodaj utwór"));
    QPushButton* usunUtwor = button(QStringLiteral("Usuń utwór"));
    trackButtons->addWidget(dodajUtwor);
    trackButtons->addWidget(usunUtwor);
    trackButtons->addStretch();
    left->addLayout(trackButtons);
    connect(dodajUtwor, &QPushButton::clicked, this, [this] {
        if (utworyModel->rowCount() >= int(kMostTracks))
            return;
        QList<QStandardItem*> items;
        items << new QStandardItem(QString::number(utworyModel->rowCount() + 1));
        for (int column = 1; column < 4; ++column)
            items << new QStandardItem;
        utworyModel->appendRow(items);
        textsChanged();
        utwory->setCurrentIndex(utworyModel->index(utworyModel->rowCount() - 1, 1));
        utwory->setFocus();
    });
    connect(usunUtwor, &QPushButton::clicked, this, [this] {
        const int row = utwory->currentIndex().row();
        if (row < 0)
            return;
        utworyModel->removeRow(row);
        textsChanged();
    });
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    okladka = new QLabel;
    okladka->setAccessibleName(QStringLiteral("Okładka"));
    okladka->setAlignment(Qt::AlignCenter);
    okladka->setMinimumSize(kCoverShownSide, kCoverShownSide);
    okladka->setFrameShape(QFrame::StyledPanel);
    right->addWidget(okladka);
    dodajOkladke = button(QStringLiteral("Dodaj okładkę…"));
    wklejOkladke = button(QStringLiteral("Wklej okładkę"));
    usunOkladke = button(QStringLiteral("Usuń okładkę"));
    for (QPushButton* pushButton : {dodajOkladke, wklejOkladke, usunOkladke})
        right->addWidget(pushButton);
    right->addStretch();
    layout->addLayout(right);
    connect(dodajOkladke, &QPushButton::clicked, this, &CardPanel::chooseCoverFile);
    connect(wklejOkladke, &QPushButton::clicked, this, &CardPanel::pasteCover);
    connect(usunOkladke, &QPushButton::clicked, this, [this] { emit coverChosen({}); });
    showCard({}, AlbumCard{}, std::string());
}

void CardPanel::showCard(const QString& caption, const std::optional<AlbumCard>& card,
                         const std::optional<std::string>& cover)
{
    const QString title = caption.isEmpty() ? QStringLiteral("Nowy album") : caption;
    // A card the page shows already (its own edit, come back as a step) is
    // not filled in again, so that the cursor and the track being edited
    // stay where they are.
    if (card && *card == shown_ && cover && *cover == cover_ && title == tytul->text())
        return;
    // The view hears of every row; the page ignores its own filling.
    filling_ = true;
    tytul->setText(title);
    shown_ = card.value_or(AlbumCard{});
    const std::pair<QLineEdit*, const std::string*> fields[] = {
        {rok, &shown_.rok},
        {wytwornia, &shown_.wytwornia},
        {numerKatalogowy, &shown_.numerKatalogowy},
        {kraj, &shown_.kraj},
        {kodKreskowy, &shown_.kodKreskowy}};
    for (const auto& [edit, text] : fields) {
        edit->setText(utf8(*text));
        edit->setCursorPosition(0);
    }
    uwagi->setPlainText(utf8(shown_.uwagi));
    utworyModel->setRowCount(0);
    for (const Track& track : shown_.tracks) {
        utworyModel->appendRow(
            {new QStandardItem(utf8(track.number)), new QStandardItem(utf8(track.title)),
             new QStandardItem(utf8(track.performer)), new QStandardItem(utf8(track.length))});
    }
    filling_ = false;
    cover_ = cover.value_or(std::string());
    showCover();
    if (!card)
        emit notice(QStringLiteral("Karty tego albumu nie można odczytać z pliku kart."));
    else if (!cover)
        emit notice(QStringLiteral("Okładki tego albumu nie można odczytać z pliku kart."));
}

AlbumCard CardPanel::pageTexts() const
{
    AlbumCard card = shown_;
    card.rok = utf8(rok->text());
    card.wytwornia = utf8(wytwornia->text());
    card.numerKatalogowy = utf8(numerKatalogowy->text());
    card.kraj = utf8(kraj->text());
    card.kodKreskowy = utf8(kodKreskowy->text());
    card.uwagi = utf8(uwagi->toPlainText());
    card.tracks.clear();
    for (int row = 0; row < utworyModel->rowCount(); ++row) {
        const auto text = [&](int column) { return utf8(utworyModel->item(row, column)->text()); };
        card.tracks.push_back({text(0), text(1), text(2), text(3)});
    }
    return card;
}

void CardPanel::textsChanged()
{
    if (filling_)
        return;
    AlbumCard card = pageTexts();
    if (card == shown_)
        return;
    shown_ = card;
    emit textsEdited(card);
}

void CardPanel::showCover()
{
    usunOkladke->setEnabled(!cover_.empty());
    if (cover_.empty()) {
        okladka->setPixmap({});
        okladka->setText(QStringLiteral("Brak okładki.\nPrzeciągnij tu plik obrazu."));
        return;
    }
    const QImage image =
        coverPicture(cover_, okladka->contentsRect().size().boundedTo(QSize(600, 600)));
    if (image.isNull()) {
        okladka->setPixmap({});
        okladka->setText(QStringLiteral("Okładki nie można pokazać."));
        return;
    }
    okladka->setPixmap(QPixmap::fromImage(image));
}

void CardPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!cover_.empty())
        showCover();
}

void CardPanel::chooseCoverFile()
{
    QFileDialog dialog(
        this, QStringLiteral("Okładka albumu"), {},
        QStringLiteral("Obrazy (*.jpg *.jpeg *.png *.gif *.bmp *.webp);;Wszystkie pliki (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QString path;
    if (chooseFile(dialog, path))
        addCoverFromFile(path);
}

void CardPanel::addCoverFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        emit notice(QStringLiteral("Nie można otworzyć pliku ") + path);
        return;
    }
    if (file.size() > kMostCoverFileBytes) {
        emit notice(QStringLiteral("Plik obrazu jest za duży (ponad 64 MiB)."));
        return;
    }
    takeCover(file.readAll());
}

void CardPanel::pasteCover()
{
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) {
        emit notice(QStringLiteral("Schowek nie zawiera obrazu."));
        return;
    }
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    image.save(&out, "png");
    takeCover(bytes);
}

void CardPanel::takeCover(const QByteArray& bytes)
{
    QString error;
    const std::optional<std::string> cover = coverForCard(bytes, error);
    if (!cover) {
        emit notice(error);
        return;
    }
    emit coverChosen(*cover);
}

void CardPanel::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasImage())
        event->acceptProposedAction();
}

void CardPanel::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && data->urls().front().isLocalFile()) {
        addCoverFromFile(data->urls().front().toLocalFile());
        event->acceptProposedAction();
    } else if (data->hasImage()) {
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        qvariant_cast<QImage>(data->imageData()).save(&out, "png");
        takeCover(bytes);
        event->acceptProposedAction();
    }
}

bool CardPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == uwagi && event->type() == QEvent::FocusOut)
        textsChanged();
    return QWidget::eventFilter(watched, event);
}

} // namespace alborx::ui

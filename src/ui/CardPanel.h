// The "Karta albumu" page: the card of the album in the editor, every field
// editable, with its track list and its front cover. The page knows nothing
// of the catalogue: it shows a card and tells what the user made of it.
#pragma once

#include "albumcard.h"

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace alborx::ui {

// A picture's bytes made fit for a card: decoded within bounds, scaled down
// to kMostCoverSide on its longer side (as JPEG) when larger, else kept as
// they are. Empty, with why in error, when the bytes are no picture the
// program takes.
constexpr int kMostCoverSide = 1200;
std::optional<std::string> coverForCard(const QByteArray& bytes, QString& error);

// A card's cover decoded within bounds and scaled to fit room; a null image
// when the bytes are no picture that may be decoded.
QImage coverPicture(const std::string& bytes, const QSize& room);

class CardPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CardPanel(QWidget* parent = nullptr);

    // The card to show: its texts (empty when they cannot be read) and its
    // cover's bytes ("" for none). caption names the album.
    void showCard(const QString& caption, const std::optional<AlbumCard>& card,
                  const std::optional<std::string>& cover);
    // Reads a picture file as the card's new cover.
    void addCoverFromFile(const QString& path);

    QLineEdit* rok = nullptr;
    QLineEdit* wytwornia = nullptr;
    QLineEdit* numerKatalogowy = nullptr;
    QLineEdit* kraj = nullptr;
    QLineEdit* kodKreskowy = nullptr;
    QPlainTextEdit* uwagi = nullptr;
    QTableView* utwory = nullptr;
    QLabel* okladka = nullptr;

signals:
    // The card's texts as the page holds them now.
    void textsEdited(const alborx::AlbumCard& card);
    // A new cover ("" to remove it).
    void coverChosen(const std::string& cover);
    // A message for the status line.
    void notice(const QString& message);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    AlbumCard pageTexts() const;
    void textsChanged();
    void showCover();
    void chooseCoverFile();
    void pasteCover();
    void takeCover(const QByteArray& bytes);

    QLabel* tytul = nullptr;
    QStandardItemModel* utworyModel = nullptr;
    QPushButton* dodajOkladke = nullptr;
    QPushButton* wklejOkladke = nullptr;
    QPushButton* usunOkladke = nullptr;
    // What the page shows, to tell an edit from showing another card.
    AlbumCard shown_;
    std::string cover_;
    bool filling_ = false;
};

} // namespace alborx::ui

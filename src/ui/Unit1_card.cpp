// The main window's side of the album cards: the "Karta albumu" page shows
// the card of the album in the editor (or of the new album the editor
// holds), and every edit of a bound album's card is a step of the history.
#include "CardPanel.h"
#include "Unit1.h"
#include "dialogs.h"
#include "historytexts.h"
#include "qtext.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

using alborx::ui::informacja;
using alborx::ui::toQt;

QWidget* TForm1::buildCardPage()
{
    kartaAlbumu = new alborx::ui::CardPanel;
    kartaAlbumu->setObjectName(QStringLiteral("kartaAlbumu"));
    connect(kartaAlbumu, &alborx::ui::CardPanel::textsEdited, this,
            [this](const alborx::AlbumCard& texts) {
                const alborx::CardRef card = cardShown();
                changeCard(alborx::cardInMemory(
                    texts, card ? karty.cover(card).value_or(std::string()) : std::string()));
            });
    connect(kartaAlbumu, &alborx::ui::CardPanel::coverChosen, this,
            [this](const std::string& cover) {
                const alborx::CardRef card = cardShown();
                alborx::AlbumCard texts =
                    card ? karty.texts(card).value_or(alborx::AlbumCard{}) : alborx::AlbumCard{};
                changeCard(alborx::cardInMemory(std::move(texts), cover));
            });
    connect(kartaAlbumu, &alborx::ui::CardPanel::notice, this,
            [this](const QString& message) { StatusBar1->showMessage(message, 8000); });
    auto* toCard = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this);
    connect(toCard, &QShortcut::activated, this, [this] {
        listy->setCurrentWidget(stronaKarty);
        kartaAlbumu->rok->setFocus();
    });
    // The page scrolls rather than ask the notebook for its room, so that
    // the editor above keeps the height it has always had.
    auto* page = new QScrollArea;
    page->setObjectName(QStringLiteral("stronaKarty"));
    page->setWidgetResizable(true);
    page->setFrameShape(QFrame::NoFrame);
    page->setWidget(kartaAlbumu);
    stronaKarty = page;
    return page;
}

alborx::RowKey TForm1::cardAlbumKey() const
{
    // The editor shows an album of the catalogue when Popraw may rewrite it.
    if (!poprawguz->isEnabled())
        return 0;
    return alborx::boundRow(albumy, binding) > 0 ? binding.boundKey : 0;
}

alborx::CardRef TForm1::cardShown() const
{
    const alborx::RowKey key = cardAlbumKey();
    return key != 0 ? karty.card(key) : pendingCard_;
}

void TForm1::scheduleCardShow()
{
    // The editor is bound and filled in several steps; the page follows
    // once they are all done.
    if (cardShowPending_)
        return;
    cardShowPending_ = true;
    QTimer::singleShot(0, this, [this] {
        cardShowPending_ = false;
        showCardOfEditor();
    });
}

void TForm1::showCardOfEditor()
{
    // A card is read and its cover decoded only for the page in view: moving
    // through the list costs nothing more than before.
    if (listy->currentWidget() != stronaKarty)
        return;
    const alborx::RowKey key = cardAlbumKey();
    const int row = key != 0 ? alborx::boundRow(albumy, binding) : 0;
    const QString caption =
        row > 0 ? alborx::ui::albumCaption(alborx::rowOf(albumy.row(row))) : QString();
    const alborx::CardRef card = cardShown();
    kartaAlbumu->showCard(
        caption, card ? karty.texts(card) : std::optional<alborx::AlbumCard>(alborx::AlbumCard{}),
        karty.cover(card));
}

void TForm1::changeCard(alborx::CardRef card)
{
    const alborx::RowKey key = cardAlbumKey();
    if (key == 0) {
        // The new album's card goes into the catalogue with it.
        pendingCard_ = std::move(card);
        scheduleCardShow();
        return;
    }
    alborx::TableChange change;
    change.cards.push_back({key, karty.card(key), std::move(card)});
    const int row = alborx::boundRow(albumy, binding);
    makeChange(std::move(change), QStringLiteral("Zmień kartę albumu ") +
                                      alborx::ui::albumCaption(alborx::rowOf(albumy.row(row))));
}

void TForm1::sayWhatCardsOpened(const alborx::CardsOpened& opened)
{
    const QString file = toQt(alborx::cardFilePath(ustawienia.plikbazy));
    QString message;
    switch (opened.status) {
    case alborx::CardFileStatus::NotCardFile:
        message = QStringLiteral("Plik kart albumów %1 nie jest plikiem kart tego programu; "
                                 "katalog otwarto bez kart.");
        break;
    case alborx::CardFileStatus::Newer:
        message = QStringLiteral("Plik kart albumów %1 zapisała nowsza wersja programu; "
                                 "katalog otwarto bez kart.");
        break;
    case alborx::CardFileStatus::Damaged:
        message = QStringLiteral("Plik kart albumów %1 jest uszkodzony; pokazano karty, które "
                                 "dało się odczytać.");
        break;
    default:
        break;
    }
    if (!message.isEmpty())
        informacja(this, message.arg(file));
    if (opened.unmatched > 0)
        informacja(this, QStringLiteral("Karty albumów bez albumu w katalogu: %1. Pozostaną "
                                        "w pliku kart %2.")
                             .arg(opened.unmatched)
                             .arg(file));
}

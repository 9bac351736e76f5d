// The main window's side of the MusicBrainz window: opening it with the
// editor's performer and title, and a new album filled from its release.
#include "CardPanel.h"
#include "MusicBrainzDialog.h"
#include "Unit1.h"

#include <QLineEdit>
#include <QStatusBar>

void TForm1::Szukajwmusicbrainz1Click()
{
    if (MusicBrainz1 == nullptr) {
        MusicBrainz1 = new MusicBrainzDialog(gatunki, this);
        connect(MusicBrainz1, &MusicBrainzDialog::fillEditor, this, &TForm1::fillFromMusicBrainz);
        connect(MusicBrainz1, &MusicBrainzDialog::coverFetched, this, &TForm1::takeFetchedCover);
        // "Dodaj" must stay in reach while the window is open.
        MusicBrainz1->keepClearOf(Panel1);
    }
    MusicBrainz1->start(azespol->text(), aalbum->text());
    MusicBrainz1->show();
    MusicBrainz1->raise();
    MusicBrainz1->activateWindow();
}

void TForm1::musicbrainzguzClick()
{
    Szukajwmusicbrainz1Click();
}

void TForm1::fillFromMusicBrainz(const alborx::musicbrainz::EditorFill& fill)
{
    nowyguzClick();
    showEditorForm(fill.form);
    pendingCard_ = alborx::cardInMemory(fill.card, {});
    // Long texts are read from their beginning.
    azespol->setCursorPosition(0);
    aalbum->setCursorPosition(0);
}

void TForm1::takeFetchedCover(const std::string& releaseId, const QByteArray& picture)
{
    QString error;
    const std::optional<std::string> cover = alborx::ui::coverForCard(picture, error);
    if (!cover) {
        StatusBar1->showMessage(QStringLiteral("Okładki z Cover Art Archive nie dodano: ") + error,
                                8000);
        return;
    }
    // The cover goes to the card it was asked for: the new album's in the
    // editor, or the album's that "Dodaj" has added meanwhile.
    const auto forRelease = [&](const alborx::CardRef& card) {
        const std::optional<alborx::AlbumCard> texts = card ? karty.texts(card) : std::nullopt;
        return texts && texts->releaseId == releaseId;
    };
    if (cardAlbumKey() == 0 && forRelease(pendingCard_)) {
        pendingCard_ = alborx::cardInMemory(*karty.texts(pendingCard_), *cover);
        scheduleCardShow();
        return;
    }
    const alborx::RowKey key = cardAlbumKey();
    const alborx::CardRef card = key != 0 ? karty.card(key) : nullptr;
    if (forRelease(card) && karty.cover(card).value_or(std::string()).empty())
        changeCard(alborx::cardInMemory(*karty.texts(card), *cover));
}

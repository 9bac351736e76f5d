// The main window's side of the MusicBrainz window: opening it with the
// editor's performer and title, and a new album filled from its release.
#include "MusicBrainzDialog.h"
#include "Unit1.h"

#include <QLineEdit>

void TForm1::Szukajwmusicbrainz1Click()
{
    if (MusicBrainz1 == nullptr) {
        MusicBrainz1 = new MusicBrainzDialog(gatunki, this);
        connect(MusicBrainz1, &MusicBrainzDialog::fillEditor, this, &TForm1::fillFromMusicBrainz);
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
    // Long texts are read from their beginning.
    azespol->setCursorPosition(0);
    aalbum->setCursorPosition(0);
}

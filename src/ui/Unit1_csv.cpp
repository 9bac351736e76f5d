// Exchanging the catalogue with spreadsheets and other programs: "Eksportuj
// do CSV…" and "Importuj z CSV…" of the menu "Plik".
#include "AlbumTableModel.h"
#include "CsvImportDialog.h"
#include "Unit1.h"
#include "Unit5.h"
#include "cataloguefile.h"
#include "csvexchange.h"
#include "dialogs.h"
#include "historytexts.h"

#include <QDir>
#include <QFileDialog>

namespace {

// A CSV file larger than this is no album collection; it is not read.
constexpr std::size_t kMostCsvBytes = 256 * 1024 * 1024;
// Skipped lines named in the closing message.
constexpr std::size_t kSkippedShown = 10;

QString reasonText(alborx::SkipReason reason)
{
    switch (reason) {
    case alborx::SkipReason::UnclosedQuote:
        return QStringLiteral("niezamknięty cudzysłów");
    case alborx::SkipReason::NoPerformerOrTitle:
        return QStringLiteral("brak wykonawcy i tytułu");
    case alborx::SkipReason::NoFreeId:
        return QStringLiteral("brak wolnego numeru ID");
    case alborx::SkipReason::TooManyAlbums:
        return QStringLiteral("za dużo albumów; dalsze wiersze pominięto");
    }
    return {};
}

QFileDialog* csvDialog(QWidget* parent, const char* name, const char* title, bool save)
{
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(QString::fromUtf8(title));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilters(
        {QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("Wszystkie pliki (*.*)")});
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setDirectory(QDir::currentPath());
    dialog->setSizeGripEnabled(true);
    return dialog;
}

} // namespace

void TForm1::buildCsvDialogs()
{
    SaveDialogCsv = csvDialog(this, "SaveDialogCsv", "Eksportuj do CSV", true);
    OpenDialogCsv = csvDialog(this, "OpenDialogCsv", "Importuj z CSV", false);
}

void TForm1::Eksportujdocsv1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*SaveDialogCsv, chosen))
        return;
    alborx::WriteError error = alborx::WriteError::None;
    {
        ProgressScope progress(*Form5, QStringLiteral("Zapisywanie pliku CSV..."));
        error = alborx::exportCsv(chosen.toStdString(), albumy);
    }
    if (error != alborx::WriteError::None)
        alborx::ui::informacja(this, alborx::ui::writeFailureMessage(chosen, error));
}

void TForm1::Importujzcsv1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*OpenDialogCsv, chosen))
        return;
    std::vector<std::uint8_t> bytes;
    if (!alborx::readWholeFile(chosen.toStdString(), bytes, kMostCsvBytes + 1) ||
        bytes.size() > kMostCsvBytes) {
        alborx::ui::informacja(this, QStringLiteral("Błąd przy wczytywaniu pliku: ") + chosen);
        return;
    }
    std::string text(bytes.begin(), bytes.end());
    bytes = {};
    CsvImportDialog dialog(text, alborx::detectImportOptions(text), this);
    if (!alborx::ui::runDialog(dialog))
        return;

    alborx::CsvImportResult result;
    {
        ProgressScope progress(*Form5, QStringLiteral("Wczytywanie pliku CSV..."));
        result = alborx::importCsv(albumy, ustawienia, text, dialog.options());
        if (result.added > 0) {
            const int first = result.change.insertedAt;
            makeChange(std::move(result.change), QStringLiteral("Importuj z CSV (") +
                                                     alborx::ui::albumCount(result.added) +
                                                     QLatin1Char(')'));
            addJoinedGenres(first, first + result.added - 1);
        }
    }
    odswiezlistecd();
    obliczwszystkoClick();

    QString message = QStringLiteral("Dodano albumów: %1.").arg(result.added);
    if (result.replaced > 0)
        message += QStringLiteral("\nZnaków spoza Windows-1250 zastąpionych znakiem „?”: %1.")
                       .arg(result.replaced);
    if (!result.skipped.empty()) {
        message += QStringLiteral("\nPominięte wiersze: %1").arg(result.skipped.size());
        for (std::size_t i = 0; i < result.skipped.size() && i < kSkippedShown; ++i)
            message += QStringLiteral("\nwiersz %1: %2")
                           .arg(result.skipped[i].line)
                           .arg(reasonText(result.skipped[i].reason));
        if (result.skipped.size() > kSkippedShown)
            message += QStringLiteral("\n…");
    }
    alborx::ui::informacja(this, message);
}

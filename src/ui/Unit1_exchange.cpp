// Exchanging the catalogue with spreadsheets and other programs: "Eksportuj
// do CSV…", "Importuj z CSV…" and "Importuj z programu Tellico…" of the menu
// "Plik".
#include "AlbumTableModel.h"
#include "CsvImportDialog.h"
#include "Unit1.h"
#include "Unit5.h"
#include "cataloguefile.h"
#include "csvexchange.h"
#include "dialogs.h"
#include "historytexts.h"
#include "tellico.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// A CSV file larger than this is no album collection; it is not read.
constexpr std::size_t kMostCsvBytes = 256 * 1024 * 1024;

QString reasonText(const alborx::SkippedLine& skipped)
{
    switch (skipped.reason) {
    case alborx::SkipReason::UnclosedQuote:
        return QStringLiteral("niezamknięty cudzysłów");
    case alborx::SkipReason::NoPerformerOrTitle:
        return QStringLiteral("brak wykonawcy i tytułu");
    case alborx::SkipReason::NoFreeId:
        return QStringLiteral("brak wolnego numeru ID");
    case alborx::SkipReason::TooManyAlbums:
        return QStringLiteral("za dużo albumów; dalsze wiersze pominięto");
    case alborx::SkipReason::OtherMedium:
        return QStringLiteral("nośnik inny niż CD i kaseta (%1)")
            .arg(alborx::ui::toQt(skipped.medium));
    }
    return {};
}

} // namespace

void TForm1::buildExchangeDialogs()
{
    const QStringList csv = {QStringLiteral("Pliki CSV (*.csv)"),
                             QStringLiteral("Wszystkie pliki (*.*)")};
    SaveDialogCsv = alborx::ui::fileDialog(this, "SaveDialogCsv", "Eksportuj do CSV", true, csv,
                                           QStringLiteral("csv"));
    OpenDialogCsv = alborx::ui::fileDialog(this, "OpenDialogCsv", "Importuj z CSV", false, csv,
                                           QStringLiteral("csv"));
    OpenDialogTellico =
        alborx::ui::fileDialog(this, "OpenDialogTellico", "Importuj z programu Tellico", false,
                               {QStringLiteral("Kolekcje programu Tellico (*.tc *.xml)"),
                                QStringLiteral("Wszystkie pliki (*.*)")},
                               QStringLiteral("tc"));
}

void TForm1::Eksportujdocsv1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*SaveDialogCsv, chosen))
        return;
    alborx::WriteError error = alborx::WriteError::None;
    {
        ProgressScope progress(*Form5, QStringLiteral("Zapisywanie pliku CSV..."));
        error = alborx::exportCsv(chosen.toStdString(), albumy, progress.get(), &karty);
    }
    if (error != alborx::WriteError::None)
        alborx::ui::informacja(this, alborx::ui::writeFailureMessage(chosen, error));
}

void TForm1::Importujzcsv1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*OpenDialogCsv, chosen))
        return;
    // A file known to be too large is not read at all.
    if (QFileInfo(chosen).size() > static_cast<qint64>(kMostCsvBytes)) {
        tooLargeToImport(chosen);
        return;
    }
    std::vector<std::uint8_t> bytes;
    {
        ProgressScope progress(*Form5, QStringLiteral("Wczytywanie pliku CSV..."), true);
        if (!alborx::readWholeFile(chosen.toStdString(), bytes, kMostCsvBytes + 1,
                                   progress.get())) {
            alborx::ui::informacja(
                this, progress->cancelled()
                          ? QStringLiteral("Import przerwano; nie dodano żadnego albumu.")
                          : QStringLiteral("Błąd przy wczytywaniu pliku: ") + chosen);
            return;
        }
    }
    if (bytes.size() > kMostCsvBytes) {
        tooLargeToImport(chosen);
        return;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    CsvImportDialog dialog(text, alborx::detectImportOptions(text), this);
    if (!alborx::ui::runDialog(dialog))
        return;

    alborx::ImportResult result;
    {
        ProgressScope progress(*Form5, QStringLiteral("Importowanie z pliku CSV..."), true);
        result = alborx::importCsv(albumy, ustawienia, text, dialog.options(), progress.get());
    }
    const int added = result.added;
    takeImport(std::move(result),
               QStringLiteral("Importuj z CSV (") + alborx::ui::albumCount(added) +
                   QLatin1Char(')'),
               {QStringLiteral("Pominięte wiersze"), QStringLiteral("wiersz")});
}

void TForm1::tooLargeToImport(const QString& name)
{
    alborx::ui::informacja(this, QStringLiteral("Plik jest za duży, by go zaimportować: ") + name);
}

void TForm1::Importujztellico1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*OpenDialogTellico, chosen))
        return;
    alborx::TellicoImport import;
    {
        ProgressScope progress(*Form5, QStringLiteral("Wczytywanie kolekcji Tellico..."), true);
        import =
            alborx::importTellicoFile(albumy, ustawienia, chosen.toStdString(), progress.get());
    }
    switch (import.status) {
    case alborx::TellicoStatus::Read:
        break;
    case alborx::TellicoStatus::CannotOpen:
        alborx::ui::informacja(this, QStringLiteral("Błąd przy wczytywaniu pliku: ") + chosen);
        return;
    case alborx::TellicoStatus::TooLarge:
        tooLargeToImport(chosen);
        return;
    case alborx::TellicoStatus::TooDeep:
        alborx::ui::informacja(
            this, QStringLiteral("Elementy pliku są zagnieżdżone głębiej niż w kolekcji programu "
                                 "Tellico; nie zaimportowano żadnego albumu: ") +
                      chosen);
        return;
    case alborx::TellicoStatus::NotTellico:
        alborx::ui::informacja(
            this, QStringLiteral("To nie jest kolekcja programu Tellico albo plik jest "
                                 "uszkodzony: ") +
                      chosen);
        return;
    case alborx::TellicoStatus::NotMusic:
        alborx::ui::informacja(this, QStringLiteral("To nie jest kolekcja muzyczna; nie "
                                                    "zaimportowano żadnego albumu."));
        return;
    }
    const int added = import.albums.added;
    takeImport(std::move(import.albums),
               QStringLiteral("Importuj z programu Tellico (") + alborx::ui::albumCount(added) +
                   QLatin1Char(')'),
               {QStringLiteral("Pominięte wpisy"), QStringLiteral("wpis")});
}

void TForm1::takeImport(alborx::ImportResult result, const QString& stepText,
                        const std::pair<QString, QString>& skippedWords)
{
    if (result.cancelled) {
        alborx::ui::informacja(this,
                               QStringLiteral("Import przerwano; nie dodano żadnego albumu."));
        return;
    }
    const std::size_t cards = result.change.cards.size();
    if (result.added > 0)
        makeChange(std::move(result.change), stepText, StepKind::Append);

    QString message = QStringLiteral("Dodano albumów: %1.").arg(result.added);
    if (cards > 0)
        message += QStringLiteral("\nKarty albumów: %1.").arg(cards);
    if (result.coversLeftOut > 0)
        message += QStringLiteral("\nOkładki za duże, by je dodać: %1.").arg(result.coversLeftOut);
    if (result.replaced > 0)
        message += QStringLiteral("\nZnaków spoza Windows-1250 zastąpionych najbliższą literą "
                                  "lub znakiem „?”: %1.")
                       .arg(result.replaced);
    const int skipped = result.skippedCount();
    if (skipped > 0) {
        message += QStringLiteral("\n%1: %2").arg(skippedWords.first).arg(skipped);
        for (const alborx::SkippedLine& line : result.skipped)
            message += QStringLiteral("\n%1 %2: %3")
                           .arg(skippedWords.second)
                           .arg(line.line)
                           .arg(reasonText(line));
        if (skipped > static_cast<int>(result.skipped.size()))
            message += QStringLiteral("\n…");
    }
    alborx::ui::informacja(this, message);
}

// Measures the main window with a catalogue of 100,000 albums under the
// offscreen platform: opening it until the list is painted, a header-click
// sort, scrolling the list from top to bottom page by page, and a zipped
// Tellico collection of as many albums imported from the file dialog to the
// closing message, next to the library's own import of it; and 100 results
// of a MusicBrainz search shown from the moment the answer arrived.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "CardPanel.h"
#include "MusicBrainzClient.h"
#include "MusicBrainzDialog.h"
#include "Unit1.h"
#include "cardfile.h"
#include "catalogue_generator.h"
#include "cataloguefile.h"
#include "dialogs.h"
#include "genrelist.h"
#include "othersources.h"
#include "tellico.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The times of five runs of work, the events waiting before each handled
// first.
std::vector<double> fiveRuns(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(msSince(timer));
    }
    return times;
}

// Closes a window of the benchmark, its changes thrown away unasked.
void closeWithoutSaving(TForm1& form)
{
    form.ustawienia.autozapis = false;
    alborx::ui::DialogSeam::setNextAnswer(QMessageBox::Discard);
    form.close();
    alborx::ui::DialogSeam::takeMessages();
}

} // namespace

// Writes a catalogue's PDF through the menu command, in a process of its
// own so that its peak memory is the command's: prints the time and the
// peak.
int reportPdf(const std::string& catalogue)
{
    alborx::ui::DialogSeam::setAnswering(true);
    TForm1 form;
    form.poczatek({});
    if (!form.otworzbaze(catalogue))
        return 1;
    const std::string pdf = catalogue + ".pdf";
    alborx::ui::DialogSeam::setNextFileName(QString::fromStdString(pdf));
    QElapsedTimer timer;
    timer.start();
    form.Eksportujdopdf1Click();
    const double ms = msSince(timer);
    const bool written =
        std::filesystem::exists(pdf) && alborx::ui::DialogSeam::takeMessages().isEmpty();
    std::printf("%.1f %.1f %.1f\n", ms, peakMegabytes(),
                written ? std::filesystem::file_size(pdf) / 1048576.0 : -1.0);
    closeWithoutSaving(form);
    return written ? 0 : 1;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 2 && std::string(argv[1]) == "--pdf")
        return reportPdf(argv[2]);
    const int albums = argc > 1 ? std::atoi(argv[1]) : 100000;

    // The window keeps its settings in the working folder: use a fresh one.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("alborx-uibench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    alborx::ui::DialogSeam::setAnswering(true);

    alborx::AlbumTable source;
    source.assignAlbums(alborx::bench::generateAlbums(albums));
    alborx::TUstawienia settings;
    alborx::ustawdomyslne(settings);
    const std::string file = (folder / "duza.abx").string();
    alborx::zapiszbaze(source, settings, file);
    const std::string collection = (folder / "kolekcja.tc").string();
    alborx::bench::writeTellicoCollection(collection, source);
    source = alborx::AlbumTable();

    int failures = 0;
    // A genre file of 100,000 lines in reverse order: the start must not
    // insert them one by one.
    double genreStartMs = 0;
    {
        std::string genres;
        for (int i = 100000; i > 0; --i)
            genres += "Gatunek " + std::to_string(i) + "\r\n";
        std::FILE* out = std::fopen(alborx::kGenreFileName, "wb");
        std::fwrite(genres.data(), 1, genres.size(), out);
        std::fclose(out);
        QElapsedTimer timer;
        timer.start();
        TForm1 form;
        form.poczatek({});
        genreStartMs = msSince(timer);
        failures += form.gatunki.count() == 100000 ? 0 : 1;
        std::filesystem::remove(alborx::kGenreFileName);
    }
    // The median of five runs each, the library's import and the window's,
    // taken in turn so that both meet the memory system in the same state.
    std::vector<double> tellicoLibrary;
    std::vector<double> tellicoWindow;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        {
            timer.start();
            const alborx::TellicoImport import =
                alborx::importTellicoFile(alborx::AlbumTable(), settings, collection);
            tellicoLibrary.push_back(msSince(timer));
            failures += import.albums.added == albums ? 0 : 1;
        }
        TForm1 form;
        form.poczatek({});
        form.resize(1024, 768);
        form.show();
        QApplication::processEvents();
        alborx::ui::DialogSeam::setNextFileName(QString::fromStdString(collection));
        timer.restart();
        form.Importujztellico1Click();
        tellicoWindow.push_back(msSince(timer));
        failures += alborx::ui::DialogSeam::takeMessages().size() == 1 &&
                            form.albumy.liczbaalbumow() == albums
                        ? 0
                        : 1;
        closeWithoutSaving(form);
    }
    // From the answer's arrival to the results painted.
    std::vector<double> resultsShown;
    std::vector<double> hugeFieldShown;
    {
        TForm1 form;
        form.poczatek({});
        form.Szukajwmusicbrainz1Click();
        MusicBrainzDialog& window = *form.MusicBrainz1;
        const QByteArray answer =
            QByteArray::fromStdString(alborx::bench::musicBrainzAnswer(1 << 22, 100));
        resultsShown = fiveRuns([&] {
            emit window.client()->answered(answer);
            window.wyniki->viewport()->repaint();
        });
        failures += window.wynikiModel->rowCount() == 100 ? 0 : 1;
        // One release whose title is 4 MB and performer 150 KB: shown with
        // its tooltip asked for, as hovering the cell would.
        const QByteArray huge =
            "{\"releases\": [{\"id\": \"r\", \"title\": \"" + QByteArray(4'000'000, 'x') +
            "\", \"artist-credit\": [{\"name\": \"" + QByteArray(150'000, 'y') + "\"}]}]}";
        hugeFieldShown = fiveRuns([&] {
            emit window.client()->answered(huge);
            window.wyniki->viewport()->repaint();
            (void)window.wynikiModel->index(0, 1).data(Qt::ToolTipRole);
        });
        closeWithoutSaving(form);
    }
    const double tellicoLibraryMs = median(tellicoLibrary);
    const double tellicoWindowMs = median(tellicoWindow);
    {
        TForm1 form;
        form.poczatek({});
        form.resize(1024, 768);
        form.show();
        QApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        form.otworzbaze(file);
        form.listacd->viewport()->repaint();
        QApplication::processEvents();
        const double openMs = msSince(timer);

        QHeaderView* header = form.listacd->horizontalHeader();
        const QPoint performer(header->sectionViewportPosition(1) + 10, 5);
        timer.restart();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, performer);
        form.listacd->viewport()->repaint();
        const double sortMs = msSince(timer);

        QScrollBar* bar = form.listacd->verticalScrollBar();
        double slowestPage = 0;
        int pages = 0;
        for (int value = 0; value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
            QElapsedTimer page;
            page.start();
            bar->setValue(value);
            form.listacd->viewport()->repaint();
            slowestPage = std::max(slowestPage, msSince(page));
            ++pages;
        }

        // The peak of the process with the catalogue shown, before the join
        // below doubles it.
        const double peak = peakMegabytes();

        // A join of an equal catalogue, the filtered list rebuilt (with most
        // albums of both) and sorted by "Album", then the join taken back
        // (its albums leave the filtered list from all over it) and made
        // again (they come back to their places there).
        form.dolaczbaze(file);
        form.f_odswiezClick();
        QHeaderView* filteredHeader = form.listafiltr->horizontalHeader();
        QTest::mouseClick(filteredHeader->viewport(), Qt::LeftButton, {},
                          QPoint(filteredHeader->sectionViewportPosition(2) + 10, 5));
        const int filtered = form.przefiltrowane.liczbaalbumow();
        alborx::ui::DialogSeam::takeMessages();
        timer.restart();
        form.Cofnij1->trigger();
        const double joinUndoMs = msSince(timer);
        timer.restart();
        form.Ponow1->trigger();
        const double joinRedoMs = msSince(timer);
        failures += form.przefiltrowane.liczbaalbumow() == filtered ? 0 : 1;

        std::printf("%-46s %10s\n", "main window, offscreen", "measured");
        std::printf("%-46s %8.1f ms\n",
                    ("open " + std::to_string(albums) + " albums until shown").c_str(), openMs);
        std::printf("%-46s %8.1f ms\n", "header-click sort by Wykonawca", sortMs);
        std::printf("%-46s %8.2f ms (%d pages)\n", "slowest page while scrolling top to bottom",
                    slowestPage, pages);
        std::printf("%-46s %8.1f ms\n", "start with 100000 genres in reverse order", genreStartMs);
        std::printf("%-46s %8.1f ms\n", "Tellico import (zipped), library alone", tellicoLibraryMs);
        std::printf("%-46s %8.1f ms (%.2fx)\n",
                    "Tellico import from the file dialog to the message", tellicoWindowMs,
                    tellicoWindowMs / tellicoLibraryMs);
        std::printf("%-46s %8.1f ms\n", "100 MusicBrainz results shown", median(resultsShown));
        std::printf("%-46s %8.1f ms\n", "a MusicBrainz release with a 4 MB title shown",
                    median(hugeFieldShown));
        std::printf("%-46s %8.1f ms / %.1f ms\n", "undo / redo of a join, with the filtered list",
                    joinUndoMs, joinRedoMs);
        std::printf("%-46s %8.1f MB\n", "peak memory of the process", peak);
        failures += form.albumy.liczbaalbumow() == 2 * albums ? 0 : 1;
        closeWithoutSaving(form);
    }
    // The same catalogue with a card of twelve tracks for every album and a
    // cover of 1200 x 1200 pixels for every tenth.
    {
        const std::string carded = (folder / "karty.abx").string();
        std::filesystem::copy_file(file, carded);
        QImage picture(1200, 1200, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QLinearGradient(0, 0, 1200, 1200));
        painter.drawEllipse(100, 100, 1000, 1000);
        painter.end();
        QByteArray jpeg;
        QBuffer out(&jpeg);
        out.open(QIODevice::WriteOnly);
        picture.save(&out, "jpeg", 88);
        alborx::AlbumTable table;
        alborx::TUstawienia opened;
        alborx::otworzbaze(table, opened, carded);
        {
            alborx::CardFileWriter writer(alborx::cardFilePath(carded), nullptr);
            for (int r = 1; r <= table.liczbaalbumow(); ++r) {
                alborx::AlbumCard card;
                card.rok = "1994";
                card.wytwornia = "Pomaton EMI";
                for (int t = 1; t <= 12; ++t)
                    card.tracks.push_back({std::to_string(t), "Utwór " + std::to_string(t), "",
                                           "4:0" + std::to_string(t % 10)});
                writer.add(card, r % 10 == 1 ? jpeg.toStdString() : std::string(), r,
                           alborx::albumFingerprint(table.row(r)));
            }
            writer.finish();
        }
        TForm1 form;
        form.poczatek({});
        form.resize(1024, 768);
        form.show();
        form.listy->setCurrentWidget(form.stronaKarty);
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        form.otworzbaze(carded);
        form.listacd->viewport()->repaint();
        QApplication::processEvents();
        const double openMs = msSince(timer);
        // The card of an album with a cover, from the click until it is shown.
        const auto showCard = [&](int row) {
            QElapsedTimer shown;
            shown.start();
            form.listacd->selectAlbumRow(row);
            QApplication::processEvents();
            form.kartaAlbumu->repaint();
            return msSince(shown);
        };
        std::vector<double> cardTimes;
        for (int row : {1, 50001, 99991, 20011, 70001})
            cardTimes.push_back(showCard(row));
        failures += form.kartaAlbumu->rok->text() == QStringLiteral("1994") ? 0 : 1;
        // Down arrow through 100 albums, each showing its card.
        form.listacd->setFocus();
        double slowestStep = 0;
        for (int step = 0; step < 100; ++step) {
            QElapsedTimer key;
            key.start();
            QTest::keyClick(form.listacd, Qt::Key_Down);
            QApplication::processEvents();
            form.kartaAlbumu->repaint();
            slowestStep = std::max(slowestStep, msSince(key));
        }
        std::printf("%-46s %8.1f ms\n",
                    ("open " + std::to_string(albums) + " albums with cards until shown").c_str(),
                    openMs);
        std::printf("%-46s %8.1f ms\n", "card of the selected album shown, with its cover",
                    median(cardTimes));
        std::printf("%-46s %8.1f ms\n", "slowest Down key with the card page shown", slowestStep);
        std::printf("%-46s %8.1f MB\n", "peak memory of the process after that", peakMegabytes());
        closeWithoutSaving(form);
    }
    // The catalogue to PDF through "Eksportuj do PDF…", in a process of its own.
    {
        FILE* child = ::popen((std::string(argv[0]) + " --pdf '" + file + "'").c_str(), "r");
        double ms = -1, megabytes = -1, size = -1;
        const bool read = child && std::fscanf(child, "%lf %lf %lf", &ms, &megabytes, &size) == 3;
        failures += child && ::pclose(child) == 0 && read ? 0 : 1;
        std::printf("%-46s %8.1f ms (%.1f MB file)\n",
                    ("PDF of " + std::to_string(albums) + " albums").c_str(), ms, size);
        std::printf("%-46s %8.1f MB\n", "peak memory of the process writing it", megabytes);
    }
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return failures;
}

#include "CataloguePrint.h"
#include "Unit1.h"
#include "dialogs.h"
#include "qtext.h"
#include "uifixture.h"

#include <QLabel>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

namespace alborx::test {
namespace {

using ui::DialogSeam;

// A poppler tool's output for a file.
QString poppler(const QString& tool, QStringList arguments)
{
    QProcess process;
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(60'000)) << tool.toStdString() << " did not run";
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const std::string& pdf)
{
    return poppler(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
}

int pdfPages(const std::string& pdf)
{
    const QString info = poppler(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
}

class Printing : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
    }

    // Opens a catalogue of albums, CD only for even numbers, both media for
    // odd ones, with Polish letters in every performer and title.
    void openAlbums(int count, const std::string& longPerformer = {})
    {
        std::vector<Row> rows;
        for (int i = 1; i <= count; ++i) {
            const std::string id =
                ui::fromQtLossy(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
            const bool cassette = i % 2 == 1;
            rows.push_back({id, ui::fromQtLossy(QStringLiteral("Zespół Żółć %1").arg(i)),
                            ui::fromQtLossy(QStringLiteral("Pieśń łąk %1").arg(i)), "Rock", "O",
                            cassette ? "K" : "-", id, cassette ? id : "-"});
        }
        if (!longPerformer.empty())
            rows[0][ColumnPerformer].assign(longPerformer);
        ASSERT_TRUE(form_.otworzbaze(writeCatalogue("kolekcja.abx", rows)));
    }

    std::string exportPdf(const std::string& name)
    {
        const std::string pdf = dir_.file(name);
        DialogSeam::setNextFileName(QString::fromStdString(pdf));
        form_.Eksportujdopdf1Click();
        return pdf;
    }

    TForm1 form_;
};

TEST_F(Printing, ThePdfListsEveryAlbumInItsSectionWithHeadersFootersAndTheSummary)
{
    openAlbums(130);
    form_.ustawienia.podsumowanie = true;
    const std::string pdf = exportPdf("lista.pdf");
    ASSERT_TRUE(DialogSeam::takeMessages().isEmpty());
    const QString text = pdfText(pdf);

    // The CD list holds every album, the cassette list the odd ones, each in
    // the list's order.
    const qsizetype cassettes = text.indexOf(QStringLiteral("Kasety"));
    ASSERT_GT(cassettes, text.indexOf(QStringLiteral("Płyty CD")));
    qsizetype at = 0;
    for (int i = 1; i <= 130; ++i) {
        at = text.indexOf(QStringLiteral("Zespół Żółć %1\n").arg(i), at);
        ASSERT_GE(at, 0) << i;
        ASSERT_LT(at, cassettes) << i;
        EXPECT_GE(text.indexOf(QStringLiteral("Pieśń łąk %1\n").arg(i)), 0) << i;
    }
    for (int i = 1; i <= 130; i += 2) {
        at = text.indexOf(QStringLiteral("Zespół Żółć %1\n").arg(i), at);
        ASSERT_GT(at, cassettes) << i;
    }

    const int pages = pdfPages(pdf);
    ui::CataloguePrint document(form_.albumy, form_.ustawienia, nullptr, {}, {});
    QPdfWriter writer(QString::fromStdString(dir_.file("layout.pdf")));
    writer.setResolution(600);
    writer.setPageLayout(ui::defaultPageLayout());
    EXPECT_EQ(document.layOut(writer, {}), pages);
    EXPECT_GE(pages, 5); // 130 CD albums over two pages at least, 65 cassettes, the summary
    for (int page = 1; page <= pages; ++page)
        EXPECT_EQ(text.count(QStringLiteral("Strona %1 z %2").arg(page).arg(pages)), 1) << page;
    EXPECT_EQ(text.count(QStringLiteral("kolekcja.abx")), pages);

    // The summary's figures are the tab's.
    form_.obliczwszystkoClick();
    const qsizetype summary = text.indexOf(QStringLiteral("Podsumowanie"));
    ASSERT_GT(summary, cassettes);
    for (const QLabel* figure : form_.summaryFigures)
        EXPECT_GE(text.indexOf(figure->text(), summary), 0) << figure->text().toStdString();
}

TEST_F(Printing, ALongTextIsCutWithinItsColumnAndACompactListTakesFewerPages)
{
    openAlbums(200, std::string(255, 'W'));
    const std::string pdf = exportPdf("dlugi.pdf");
    // Word boxes: the performer's must end before the title's column begins.
    const QString boxes =
        poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")});
    const auto box = [&](const QString& word) {
        const QRegularExpression pattern(
            QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>%1")
                .arg(word));
        const auto match = pattern.match(boxes);
        return std::make_pair(match.captured(1).toDouble(), match.captured(2).toDouble());
    };
    const auto cut = box(QStringLiteral("W+…"));
    const auto titleColumn = box(QStringLiteral("Album"));
    ASSERT_GT(cut.second, 0);
    ASSERT_GT(titleColumn.first, 0);
    EXPECT_LT(cut.second, titleColumn.first);

    ui::CataloguePrint document(form_.albumy, form_.ustawienia, nullptr, {}, {});
    QPdfWriter writer(QString::fromStdString(dir_.file("layout.pdf")));
    writer.setResolution(600);
    writer.setPageLayout(ui::defaultPageLayout());
    const int full = document.layOut(writer, {});
    const int compact = document.layOut(writer, {true, false});
    EXPECT_EQ(pdfPages(pdf), full);
    EXPECT_LT(compact, full);
}

TEST_F(Printing, APdfThatCannotBeWrittenSaysSoAndLeavesTheOldFile)
{
    openAlbums(3);
    const std::string old = dir_.file("stary.pdf");
    writeBytes(old, {'o', 'l', 'd'});
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
    // Root writes into read-only folders; the export runs as an ordinary user.
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
        ASSERT_EQ(::seteuid(65534), 0);
    }
    exportPdf("stary.pdf");
    if (asRoot) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    ::chmod(dir_.path().c_str(), 0755);
    const QStringList messages = DialogSeam::takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Błąd przy zapisywaniu pliku: ")))
        << messages[0].toStdString();
    EXPECT_EQ(readBytes(old), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

    // A full disk leaves the old file too; a cancelled dialog writes nothing.
    injectWriteFault(WriteFault::Middle);
    exportPdf("stary.pdf");
    EXPECT_EQ(DialogSeam::takeMessages().size(), 1);
    EXPECT_EQ(readBytes(old), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    // "Anuluj" in the progress window leaves no file behind either.
    struct Cancelling : Progress
    {
        void setMaximum(int) override {}
        void setPosition(int) override {}
        bool cancelled() override { return true; }
    } cancelling;
    ui::CataloguePrint document(form_.albumy, form_.ustawienia, nullptr, {}, {});
    bool cancelled = false;
    EXPECT_EQ(
        ui::writeCataloguePdf(old, document, {}, ui::defaultPageLayout(), &cancelling, cancelled),
        WriteError::None);
    EXPECT_TRUE(cancelled);
    DialogSeam::setNextFileName({});
    form_.Eksportujdopdf1Click();
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
    EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"kolekcja.abx", "stary.pdf"}));
}

} // namespace
} // namespace alborx::test

// Printing the catalogue: "Drukuj…" (a print preview, printed from there)
// and "Eksportuj do PDF…" of the menu "Plik".
#include "CataloguePrint.h"
#include "Unit1.h"
#include "Unit5.h"
#include "dialogs.h"
#include "qtext.h"

#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

namespace {

// A preview of more pages than this takes more than a moment to paint.
constexpr int kPagesToAnnounce = 200;

// The title of the pages: the catalogue's file name.
QString printTitle(const std::string& cataloguePath)
{
    return cataloguePath.empty()
               ? QStringLiteral("Nowa baza")
               : QFileInfo(QString::fromLocal8Bit(cataloguePath.c_str())).fileName();
}

QString printDate()
{
    return QLocale(QLocale::Polish).toString(QDate::currentDate(), QLocale::LongFormat);
}

} // namespace

void TForm1::buildPrintDialogs()
{
    SaveDialogPdf = alborx::ui::fileDialog(
        this, "SaveDialogPdf", "Eksportuj do PDF", true,
        {QStringLiteral("Pliki PDF (*.pdf)"), QStringLiteral("Wszystkie pliki (*.*)")},
        QStringLiteral("pdf"));
    printLayout_ = alborx::ui::defaultPageLayout();
}

void TForm1::Drukuj1Click()
{
    alborx::ui::CataloguePrint document(albumy, ustawienia, &karty, printTitle(ustawienia.plikbazy),
                                        printDate());
    alborx::PrintChoices& choices = printChoices_;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(printLayout_);
    printer.setDocName(printTitle(ustawienia.plikbazy));
    // The preview paints every page before it opens: a long one is
    // announced with its length first.
    const int pageCount = document.layOut(printer, choices);
    if (pageCount > kPagesToAnnounce &&
        alborx::ui::pytanie(this, QStringLiteral("ALBORX!"),
                            QStringLiteral("Liczba stron wydruku: %1. Przygotowanie podglądu "
                                           "potrwa chwilę; można je przerwać przyciskiem "
                                           "„Anuluj”.\n\nOtworzyć podgląd wydruku?")
                                .arg(pageCount)) != QMessageBox::Ok)
        return;
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("PodgladWydruku"));
    preview.setWindowTitle(QStringLiteral("Podgląd wydruku"));
    if (const QScreen* shown = screen())
        preview.resize(shown->availableGeometry().size() * 0.85);

    // The pocket list and the covers are chosen in the preview, which is
    // painted anew after each choice.
    auto* pages = preview.findChild<QPrintPreviewWidget*>();
    if (auto* tools = preview.findChild<QToolBar*>()) {
        tools->addSeparator();
        const auto addChoice = [&](const QString& caption, const char* name, const QString& hint,
                                   bool alborx::PrintChoices::*choice) {
            QAction* action = tools->addAction(caption);
            action->setObjectName(QString::fromLatin1(name));
            action->setCheckable(true);
            action->setChecked(choices.*choice);
            action->setToolTip(hint);
            connect(action, &QAction::toggled, &preview, [&choices, choice, pages](bool on) {
                choices.*choice = on;
                if (pages)
                    pages->updatePreview();
            });
        };
        addChoice(QStringLiteral("Układ kieszonkowy"), "ukladkieszonkowy",
                  QStringLiteral("Dwie kolumny albumów na stronie, mniejsze pismo"),
                  &alborx::PrintChoices::compact);
        if (karty.anyCard(albumy))
            addChoice(QStringLiteral("Okładki"), "okladki",
                      QStringLiteral("Miniatura okładki przed każdym albumem z kartą"),
                      &alborx::PrintChoices::covers);
    }
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* target) {
        const int count = document.layOut(*target, choices);
        int first = 1;
        int last = count;
        if (target->printRange() == QPrinter::PageRange) {
            first = target->fromPage();
            last = target->toPage();
        }
        bool painted = false;
        {
            ProgressScope progress(
                *Form5, QStringLiteral("Przygotowanie wydruku (stron: %1)...").arg(count), true);
            QPainter painter;
            if (painter.begin(target)) {
                painted = document.paint(painter, *target, progress.get(), first, last);
                painter.end();
            }
            if (!painted && progress->cancelled())
                return;
        }
        if (!painted || target->printerState() == QPrinter::Error)
            alborx::ui::informacja(this, QStringLiteral("Drukowanie się nie powiodło: drukarka "
                                                        "nie przyjęła stron."));
    });
    alborx::ui::runDialog(preview);
    printLayout_ = printer.pageLayout();
}

void TForm1::Eksportujdopdf1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*SaveDialogPdf, chosen))
        return;
    alborx::ui::CataloguePrint document(albumy, ustawienia, &karty, printTitle(ustawienia.plikbazy),
                                        printDate());
    alborx::WriteError error = alborx::WriteError::None;
    bool cancelled = false;
    {
        ProgressScope progress(*Form5, QStringLiteral("Zapisywanie pliku PDF..."), true);
        error = alborx::ui::writeCataloguePdf(chosen.toStdString(), document, printChoices_,
                                              printLayout_, progress.get(), cancelled);
    }
    if (!cancelled && error != alborx::WriteError::None)
        alborx::ui::informacja(this, alborx::ui::writeFailureMessage(chosen, error));
}

// The text export command of the main window.
#include "Unit1.h"
#include "Unit5.h"
#include "dialogs.h"
#include "qtext.h"
#include "textexport.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLocale>

void TForm1::buildExportDialog()
{
    SaveDialog2 = new QFileDialog(this);
    SaveDialog2->setObjectName(QStringLiteral("SaveDialog2"));
    SaveDialog2->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog2->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog2->setFileMode(QFileDialog::AnyFile);
    SaveDialog2->setNameFilters(
        {QStringLiteral("Pliki tekstowe (*.txt)"), QStringLiteral("Wszystkie pliki (*.*)")});
    SaveDialog2->setDefaultSuffix(QStringLiteral("txt"));
    SaveDialog2->setDirectory(QDir::currentPath());
    SaveDialog2->setSizeGripEnabled(true);
    SaveDialog2->setWindowTitle(QStringLiteral("Zapisz do pliku tekstowego"));
}

void TForm1::Zapiszdoplikutekstowego1Click()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*SaveDialog2, chosen))
        return;

    // The month names of the user's locale, as a date names its month alone.
    const QLocale locale = QLocale::system();
    alborx::MonthNames months;
    for (int m = 1; m <= 12; ++m)
        months[static_cast<std::size_t>(m - 1)] =
            alborx::ui::fromQtLossy(locale.standaloneMonthName(m, QLocale::LongFormat));
    const QDateTime now = QDateTime::currentDateTime();
    const alborx::ExportTime time{now.date().year(), now.date().month(),  now.date().day(),
                                  now.time().hour(), now.time().minute(), now.time().second()};

    bool written = false;
    {
        ProgressScope progress(*Form5, QStringLiteral("Zapisywanie pliku tekstowego..."));
        written = alborx::writeTextExport(chosen.toStdString(), albumy, ustawienia, time, months,
                                          progress.get());
    }
    if (!written)
        alborx::ui::informacja(this, QStringLiteral("Błąd przy zapisywaniu pliku: ") + chosen);
}

#include "PieChart.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit5.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <sys/stat.h>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class Reports : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
    }

    TForm3& dialog() { return *form_.Form3; }

    TForm1 form_;
};

TEST_F(Reports, ThePreviewFollowsTyping)
{
    form_.Formatplikutekstowego1Click();
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().windowTitle(), "Format pliku tekstowego");
    EXPECT_EQ(dialog().height(), 420);
    EXPECT_GE(dialog().width(), 560);
    dialog().formtplk1->setText("%tytul:25|\\n%nr");
    EXPECT_EQ(dialog().przy1->toPlainText(), "         Images And Words|\n123");
    dialog().formtplk2->setText("%kopiamc");
    EXPECT_EQ(dialog().przy2->toPlainText(), "Pirat");
}

TEST_F(Reports, AnulujDiscardsAndOkStores)
{
    form_.Formatplikutekstowego1Click();
    dialog().formtplk1->setText("zmiana");
    dialog().RadioGroup1[1]->setChecked(true);
    dialog().Button2->click();
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_NE(form_.ustawienia.formatcd, "zmiana");
    form_.Formatplikutekstowego1Click();
    EXPECT_EQ(dialog().formtplk1->text(), "%nr:3. %zespol - %tytul (%gatunek) [%kopiacds]");
    EXPECT_TRUE(dialog().RadioGroup1[0]->isChecked());
    dialog().RadioGroup1[1]->click();
    dialog().checkBoxes[1]->setChecked(false);
    dialog().Button1->click();
    EXPECT_EQ(form_.ustawienia.kolejnosc, 1);
    EXPECT_FALSE(form_.ustawienia.wypiszcd[1]);
}

TEST_F(Reports, PresetsAndTheOrderRule)
{
    form_.Formatplikutekstowego1Click();
    dialog().ListBox1->setCurrentRow(3);
    dialog().Button6->click();
    EXPECT_EQ(dialog().formtplk2->text(), "");
    EXPECT_TRUE(dialog().RadioGroup1[2]->isChecked());
    EXPECT_FALSE(dialog().formtplk2->isEnabled());
    EXPECT_EQ(dialog().formtplk1naz->text(), "dla CD i MC:");
    EXPECT_EQ(dialog().formtplk2naz->text(), "");
    dialog().ListBox1->setCurrentRow(1);
    dialog().Button6->click();
    EXPECT_EQ(dialog().formtplk2->text(), "|%nr:4|%zespol;30|%tytul;40|%gatunek;16|MC:%kopiamcs|");
    EXPECT_TRUE(dialog().formtplk2->isEnabled());
    EXPECT_EQ(dialog().formtplk1naz->text(), "dla CD:");
}

TEST_F(Reports, CopyButtonsSwapCdAndCassetteKeywords)
{
    form_.Formatplikutekstowego1Click();
    dialog().formtplk1->setText("%idcd/%idcd");
    dialog().SpeedButton4->click();
    EXPECT_EQ(dialog().formtplk2->text(), "%idmc/%idcd");
    dialog().SpeedButton2->click();
    EXPECT_EQ(dialog().formtplk2->text(), "%idcd/%idcd");
    dialog().formtplk2->setText("A %kopiamcs B");
    dialog().SpeedButton3->click();
    EXPECT_EQ(dialog().formtplk1->text(), "A %kopiacds B");
    dialog().SpeedButton1->click();
    EXPECT_EQ(dialog().formtplk1->text(), "A %kopiamcs B");
}

TEST_F(Reports, KeywordsGoInAtTheCaretOfTheLastTemplate)
{
    form_.Formatplikutekstowego1Click();
    dialog().formtplk1->setText("[]");
    dialog().formtplk1->setCursorPosition(1);
    dialog().ostatniepole = 0;
    dialog().ListView1->setCurrentCell(7, 0); // %kopiacd
    dialog().ListView1DblClick();
    EXPECT_EQ(dialog().formtplk1->text(), "[%kopiacd]");
    EXPECT_EQ(dialog().formtplk1->cursorPosition(), 9);
    // The lower template still takes keywords while the order disables it.
    dialog().RadioGroup1[2]->click();
    dialog().ostatniepole = 1;
    dialog().formtplk2->setText("x");
    dialog().formtplk2->setCursorPosition(0);
    dialog().ListView1->setCurrentCell(11, 0); // \n
    dialog().ListView1DblClick();
    EXPECT_EQ(dialog().formtplk2->text(), "\\nx");
}

TEST_F(Reports, WszystkieTicksItsGroupOnly)
{
    form_.Formatplikutekstowego1Click();
    for (QCheckBox* box : dialog().checkBoxes)
        box->setChecked(false);
    dialog().Button4->click();
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(dialog().checkBoxes[static_cast<std::size_t>(k)]->isChecked());
    for (int k = 4; k < 10; ++k)
        EXPECT_FALSE(dialog().checkBoxes[static_cast<std::size_t>(k)]->isChecked());
    EXPECT_TRUE(form_.ustawienia.wypiszmc[0]); // nothing stored
}

TEST_F(Reports, TheSummaryTabFollowsOpening)
{
    ASSERT_TRUE(form_.otworzbaze(
        writeCatalogue("k.abx", {{"00001", "A", "T", "", "O", "K", "00001", "00001"},
                                 {"00005", "B", "U cd1", "", "O", "-", "00007", "-"},
                                 {"00005", "B", "U cd2", "", "O", "-", "00008", "-"}})));
    const QStringList expected = {"3",
                                  "2",
                                  "3",
                                  "1",
                                  "1",
                                  "3 (3 CD, 0 MC)",
                                  "0 (0 CD, 0 MC)",
                                  "1 (0 CD, 1 MC)",
                                  "0 (0 CD, 0 MC)"};
    QStringList shown;
    for (QLabel* label : form_.summaryFigures) {
        shown << label->text();
        // A screen reader hears the figure with its caption.
        EXPECT_TRUE(label->accessibleName().endsWith(QLatin1Char(' ') + label->text()));
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(form_.summaryFigures[2]->accessibleName(), "Ilość płyt CD: 3");
    const auto& slices = form_.Chart1->slices();
    ASSERT_EQ(slices.size(), 4u);
    EXPECT_EQ(slices[0].label, "Oryginały");
    EXPECT_EQ(slices[0].value, 3);
    EXPECT_EQ(slices[1].label, "Kopie");
    EXPECT_EQ(slices[0].colour, QColor(198, 13, 13));
    EXPECT_FALSE(form_.Form5->isVisible());

    // A new catalogue shows no figures of the albums that are gone.
    form_.Nowabaza1Click();
    form_.obliczwszystko->click();
    for (QLabel* label : form_.summaryFigures)
        EXPECT_TRUE(label->text() == "0" || label->text() == "0 (0 CD, 0 MC)")
            << label->text().toStdString();
    for (const auto& slice : form_.Chart1->slices())
        EXPECT_EQ(slice.value, 0);
}

TEST_F(Reports, SharesAreWrittenWithOneDecimalAtMost)
{
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(ui::PieChart::formatShare(50), "50 %");
    EXPECT_EQ(ui::PieChart::formatShare(100.0 / 3), "33.3 %");
    EXPECT_EQ(ui::PieChart::formatShare(0), "0 %");
    QLocale::setDefault(QLocale(QLocale::Polish));
    EXPECT_EQ(ui::PieChart::formatShare(12.25), "12,3 %");
}

TEST_F(Reports, TheExportWritesTheFileOrSaysWhyNot)
{
    form_.albumy.assignAlbums({{"00001", "A", "T", "G", "O", "-", "00001", "-"}});
    DialogSeam::setNextFileName(QString::fromStdString(dir_.file("spis.txt")));
    form_.Zapiszdoplikutekstowego1Click();
    const auto bytes = readBytes(dir_.file("spis.txt"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("P\xB3yty CD:\r\n  1. A - T (G) [O]\r\n", 0), 0u);
    EXPECT_FALSE(form_.Form5->isVisible());

    ASSERT_EQ(::mkdir(dir_.file("folder.txt").c_str(), 0755), 0);
    DialogSeam::setNextFileName(QString::fromStdString(dir_.file("folder.txt")));
    form_.Zapiszdoplikutekstowego1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Błąd przy zapisywaniu pliku: " +
                          QString::fromStdString(dir_.file("folder.txt"))});
    EXPECT_FALSE(form_.Form5->isVisible());
}

TEST_F(Reports, AnEmptyCatalogueStillExports)
{
    DialogSeam::setNextFileName(QString::fromStdString(dir_.file("pusty.txt")));
    form_.Zapiszdoplikutekstowego1Click();
    const auto bytes = readBytes(dir_.file("pusty.txt"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Kasety:\r\n\r\n------"), std::string::npos);
    EXPECT_NE(text.find("Spis utworzony przez program ALBORX!"), std::string::npos);
    EXPECT_FALSE(form_.Form5->isVisible());
}

} // namespace
} // namespace alborx::test

#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit6.h"
#include "Unit7.h"
#include "binaryfields.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <functional>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class Appearance : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
        std::vector<Row> rows;
        for (int i = 1; i <= 5; ++i)
            rows.push_back(albumRow("0000" + std::to_string(i), "A", "T"));
        form_.albumy.assignAlbums(rows);
        form_.listacdModel->reload();
    }

    QColor background(int albumRow, int column)
    {
        return form_.listacdModel->index(albumRow - 1, column)
            .data(Qt::BackgroundRole)
            .value<QColor>();
    }

    TForm1 form_;
};

TEST_F(Appearance, OddRowsAreStripesAndTheHeaderIsLeftAlone)
{
    const QColor stripe(208, 208, 208);
    const QColor plain(223, 223, 223);
    EXPECT_EQ(background(1, 0), stripe);
    EXPECT_EQ(background(2, 0), plain);
    EXPECT_EQ(background(3, 7), stripe);
    EXPECT_EQ(background(4, 7), plain);
    EXPECT_EQ(background(5, 3), stripe);
    EXPECT_EQ(form_.listacdModel->index(0, 2).data(Qt::ForegroundRole).value<QColor>(),
              QColor(0, 0, 112));
    EXPECT_FALSE(form_.listacdModel->headerData(0, Qt::Horizontal, Qt::BackgroundRole).isValid());
}

TEST_F(Appearance, TheTrackBarRecoloursTheStripesAtOnce)
{
    form_.Ustawieniaprogramu1Click();
    ASSERT_TRUE(form_.Form4->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), form_.Form4);
    form_.Form4->ciemnepaski->setValue(82);
    EXPECT_EQ(form_.ustawienia.wyrazistosc, 82);
    EXPECT_EQ(background(1, 2), QColor(141, 141, 141));
    form_.Form4->ciemnepaski->setValue(0);
    EXPECT_EQ(background(1, 2), background(2, 2));
    form_.Form4->Button1->click();
    EXPECT_FALSE(form_.Form4->isVisible());
}

TEST_F(Appearance, RowHeightAndFontSizeApplyToBothLists)
{
    form_.Ustawieniaprogramu1Click();
    EXPECT_EQ(form_.Form4->wyskom->value(), 17);
    EXPECT_EQ(form_.Form4->SpinEdit1->value(), 8);
    form_.Form4->wyskom->setValue(25);
    EXPECT_EQ(form_.listacd->rowHeight(), 25);
    EXPECT_EQ(form_.listafiltr->rowHeight(), 25);
    form_.Form4->SpinEdit1->setValue(12);
    EXPECT_EQ(form_.listacd->font().pointSize(), 12);
    EXPECT_EQ(form_.listafiltr->font().pointSize(), 12);
    form_.Form4->wyskom->setValue(100); // held within the range
    EXPECT_EQ(form_.listacd->rowHeight(), 40);
    form_.Form4->Button1->click();
}

TEST_F(Appearance, SpinFieldsNeverStayEmptyAndTypedNumbersKeepToTheRange)
{
    form_.Ustawieniaprogramu1Click();
    for (QSpinBox* spin : {form_.Form4->wyskom, form_.Form4->SpinEdit1}) {
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(spin, Qt::Key_Backspace);
        // Put back at once, before the field is left.
        EXPECT_EQ(spin->text(), QString::number(spin->value())) << spin->objectName().toStdString();
        EXPECT_FALSE(spin->text().isEmpty());
    }
    const auto typeAndLeave = [](QSpinBox* spin, const char* text) {
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, QString::fromLatin1(text));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(spin, &leave);
    };
    form_.Form4->wyskom->setValue(20);
    typeAndLeave(form_.Form4->wyskom, "5");
    EXPECT_EQ(form_.Form4->wyskom->value(), 6);
    EXPECT_EQ(form_.listacd->rowHeight(), 6);
    form_.Form4->SpinEdit1->setValue(10);
    typeAndLeave(form_.Form4->SpinEdit1, "2");
    EXPECT_EQ(form_.Form4->SpinEdit1->value(), 3);
    EXPECT_EQ(form_.listacd->font().pointSize(), 3);
    form_.Form4->Button1->click();
}

TEST_F(Appearance, TheFontAndColourDialogsApply)
{
    form_.Ustawieniaprogramu1Click();
    DialogSeam::setNextFont(QFont(QStringLiteral("Liberation Serif"), 10));
    form_.Form4->zmienczcionkeClick();
    EXPECT_EQ(form_.listafiltr->font().family(), "Liberation Serif");
    EXPECT_EQ(form_.Form4->SpinEdit1->value(), 10);
    EXPECT_EQ(form_.Form4->zmienczcionke->text(), "Czcionka: Liberation Serif");
    DialogSeam::setNextColour(QColor(96, 64, 32));
    form_.ustawienia.wyrazistosc = 50;
    form_.Form4->ciemnepaski->setValue(50);
    form_.Form4->zmienkolorguzClick();
    EXPECT_EQ(form_.ustawienia.kolorytla[0], 0x00204060u);
    EXPECT_EQ(form_.ustawienia.kolorypaskow[0], 0x00000E2Eu);
    DialogSeam::setNextColour(QColor()); // cancelled
    form_.Form4->zmienkolorwguzClick();
    EXPECT_EQ(form_.ustawienia.kolorywykresu[0], 0x000D0DC6u);
    form_.Form4->Button1->click();
}

TEST_F(Appearance, EscapeClosesTheDialogsLikeTheirButtons)
{
    form_.show();
    const std::pair<QWidget*, std::function<void()>> dialogs[] = {
        {form_.Form7, [&] { form_.Szukaj1Click(); }},
        {form_.Form4, [&] { form_.Ustawieniaprogramu1Click(); }},
        {form_.Form3, [&] { form_.Formatplikutekstowego1Click(); }}};
    for (const auto& [dialog, open] : dialogs) {
        open();
        ASSERT_TRUE(dialog->isVisible()) << dialog->windowTitle().toStdString();
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << dialog->windowTitle().toStdString();
        EXPECT_TRUE(form_.isEnabled());
    }
}

TEST_F(Appearance, SettingsChangedInTheDialogReachTheFileAtExit)
{
    form_.Ustawieniaprogramu1Click();
    form_.Form4->CheckBox2->setChecked(true); // autozapis
    form_.Form4->CheckBox1->setChecked(false);
    form_.Form4->ciemnepaski->setValue(40);
    form_.Form4->Button1->click();
    form_.close();
    const auto file = readBytes(dir_.file("alborx.cfg"));
    ASSERT_EQ(file.size(), 3866u);
    EXPECT_EQ(file[10 + 625], 1);
    EXPECT_EQ(file[10 + 624], 0);
    EXPECT_EQ(getInt32(&file[10 + 3836]), 40);
    EXPECT_EQ(getInt32(&file[10 + 3772]), 0x00B7B7B7); // 223 - 40
}

TEST(HelpWindow, HoldsTheTwentyTwoLines)
{
    const QStringList lines = TForm6::helpText().split('\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[0], "Wskazówki:");
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(lines[14].startsWith("  ** Znak \":\" (dwukropek)"));
    EXPECT_TRUE(lines[16].startsWith("  ** Np.: %tytul:25"));
    EXPECT_EQ(lines[18],
              "* Słowo \"\\n\" oznacza przejście kursora do następnej linijki (jak klawisz Enter)");
    TForm6 help;
    help.show();
    EXPECT_EQ(help.windowTitle(), "Pomoc");
    EXPECT_EQ(help.minimumSize(), QSize(180, 200));
    EXPECT_TRUE(help.tekst->isReadOnly());
    EXPECT_EQ(help.tekst->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(help.zamknij->isDefault());
    QTest::keyClick(help.tekst, Qt::Key_Return);
    EXPECT_TRUE(help.isVisible()); // Enter in the text does not close it
    help.zamknij->click();
    EXPECT_FALSE(help.isVisible());
}

TEST(AboutWindow, EscapeClosesItAndReleasesTheMainWindow)
{
    QWidget main;
    main.show();
    TForm2 about(&main);
    about.makeAboutWindow();
    about.show();
    EXPECT_EQ(about.size(), QSize(449, 431));
    EXPECT_EQ(QApplication::activeModalWidget(), &about);
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AboutWindow, TheSplashShowsTheUpperPartWithoutBorder)
{
    TForm2 about;
    about.showAsSplash();
    EXPECT_EQ(about.size(), QSize(449, 310));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    about.hide();
}

} // namespace
} // namespace alborx::test

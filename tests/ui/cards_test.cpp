// The "Karta albumu" page with the catalogue: a card follows its album's
// selection, every edit is a step of the history, and cards go into the
// companion file with a save and come back with an open or a join.
#include "AlbumListView.h"
#include "CardPanel.h"
#include "Unit1.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QAccessible>
#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <filesystem>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class Cards : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
        ASSERT_TRUE(form_.otworzbaze(
            writeCatalogue("k.abx", {albumRow("00001", "Kult", "Spokojnie", "Rock"),
                                     albumRow("00002", "Armia", "Legenda", "Punk")})));
        panel_ = form_.kartaAlbumu;
        form_.listy->setCurrentWidget(form_.stronaKarty);
    }

    void select(int row)
    {
        form_.listacd->selectAlbumRow(row);
        QCoreApplication::processEvents();
    }

    // Types into a field of the page as the user does, leaving it after.
    void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        emit field->editingFinished();
        QCoreApplication::processEvents();
    }

    QString coverFile(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkRed);
        const QString path = QString::fromStdString(dir_.file("cover.png"));
        image.save(path);
        return path;
    }

    TForm1 form_;
    ui::CardPanel* panel_ = nullptr;
};

TEST_F(Cards, EditsAreStepsAndFollowTheSelectedAlbum)
{
    select(1);
    EXPECT_TRUE(panel_->rok->text().isEmpty());
    type(panel_->rok, QStringLiteral("1994"));
    type(panel_->wytwornia, QStringLiteral("Zić Zać — Ørkestra"));
    EXPECT_EQ(form_.Cofnij1->text(),
              QStringLiteral("Cofnij: Zmień kartę albumu «Kult – Spokojnie»"));
    select(2);
    EXPECT_TRUE(panel_->rok->text().isEmpty());
    select(1);
    EXPECT_EQ(panel_->wytwornia->text(), QStringLiteral("Zić Zać — Ørkestra"));

    form_.Cofnij1->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel_->rok->text(), QStringLiteral("1994"));
    EXPECT_TRUE(panel_->wytwornia->text().isEmpty());
    form_.Ponow1->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel_->wytwornia->text(), QStringLiteral("Zić Zać — Ørkestra"));

    // A large cover is scaled down as it is added; a picture file that is
    // none is refused with a message.
    panel_->addCoverFromFile(coverFile(3000, 1500));
    QCoreApplication::processEvents();
    const CardRef card = form_.karty.card(form_.albumy.rowKey(1));
    const QImage stored = QImage::fromData(QByteArray::fromStdString(*form_.karty.cover(card)));
    EXPECT_EQ(stored.size(), QSize(ui::kMostCoverSide, ui::kMostCoverSide / 2));
    EXPECT_EQ(form_.karty.texts(card)->rok, "1994");
    EXPECT_FALSE(panel_->okladka->pixmap().isNull());
    // Pictures that are none, or that would decode to 100,000 x 100,000
    // pixels, are refused before they are decoded, each with its reason.
    const QByteArray huge = QByteArray::fromHex(
        "89504e470d0a1a0a0000000d49484452000186a0000186a0080200000027309c9f0000000b4944415478"
        "9c6360800100000a00017f80745e");
    for (const auto& [bytes, reason] :
         {std::pair(QByteArray("GIF89a but not really"), QStringLiteral("To nie jest obraz")),
          std::pair(huge, QStringLiteral("Obraz jest za duży (100000 × 100000 pikseli)."))}) {
        QString error;
        EXPECT_FALSE(ui::coverForCard(bytes, error));
        EXPECT_TRUE(error.startsWith(reason)) << error.toStdString();
    }

    // Sorting, Popraw and the filtered list leave the card with its album.
    form_.listacd->horizontalHeader()->sectionClicked(ColumnTitle);
    QCoreApplication::processEvents();
    ASSERT_EQ(form_.albumy.cell(ColumnPerformer, 2), "Kult");
    select(2);
    EXPECT_EQ(panel_->rok->text(), QStringLiteral("1994"));
    form_.aalbum->setText(QStringLiteral("Spokojnie (reedycja)"));
    form_.poprawguz->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel_->rok->text(), QStringLiteral("1994"));
}

TEST_F(Cards, SavedBesideTheCatalogueAndBroughtBackByOpenAndJoin)
{
    select(2);
    type(panel_->kraj, QStringLiteral("PL"));
    panel_->uwagi->setPlainText(QStringLiteral("Pierwsze wydanie.\nŻółta okładka."));
    QFocusEvent leaving(QEvent::FocusOut);
    QCoreApplication::sendEvent(panel_->uwagi, &leaving);
    QCoreApplication::processEvents();
    // A new album's card waits in the editor and goes in with Dodaj.
    form_.nowyguz->click();
    form_.azespol->setText(QStringLiteral("Dezerter"));
    form_.aalbum->setText(QStringLiteral("Underground Out of Poland"));
    form_.nosnikcd->setChecked(true);
    QCoreApplication::processEvents();
    type(panel_->wytwornia, QStringLiteral("Tonpress"));
    form_.dodajguz->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 3);
    EXPECT_EQ(panel_->wytwornia->text(), QStringLiteral("Tonpress"));

    const std::string name = dir_.file("k.abx");
    ASSERT_TRUE(form_.zapiszbaze(name));
    EXPECT_TRUE(fileExists(name + "-karty"));
    form_.Nowabaza1Click();
    EXPECT_FALSE(form_.karty.anyCard(form_.albumy));
    ASSERT_TRUE(form_.otworzbaze(name));
    select(2);
    EXPECT_EQ(panel_->kraj->text(), QStringLiteral("PL"));
    EXPECT_EQ(panel_->uwagi->toPlainText(), QStringLiteral("Pierwsze wydanie.\nŻółta okładka."));
    select(3);
    EXPECT_EQ(panel_->wytwornia->text(), QStringLiteral("Tonpress"));

    // Joined into another catalogue, the cards come along; undone, they go.
    form_.Nowabaza1Click();
    form_.dolaczbaze(name);
    select(3);
    EXPECT_EQ(panel_->wytwornia->text(), QStringLiteral("Tonpress"));
    form_.Cofnij1->trigger();
    EXPECT_FALSE(form_.karty.anyCard(form_.albumy));

    // A companion that cannot be written stops the save before the
    // catalogue is touched, and says which file it is.
    const std::vector<std::uint8_t> saved = readBytes(name);
    std::filesystem::remove(name + "-karty");
    std::filesystem::create_directory(name + "-karty");
    form_.Nowabaza1Click();
    ASSERT_TRUE(form_.otworzbaze(name));
    select(1);
    type(panel_->rok, QStringLiteral("2001"));
    form_.aalbum->setText(QStringLiteral("Inny tytuł"));
    form_.poprawguz->click();
    DialogSeam::takeMessages();
    EXPECT_FALSE(form_.zapiszbaze(name));
    EXPECT_TRUE(DialogSeam::takeMessages().join(' ').contains(QStringLiteral("k.abx-karty")));
    EXPECT_EQ(readBytes(name), saved);
    std::filesystem::remove(name + "-karty");

    // A companion that is no card file is told of; the catalogue opens.
    writeBytes(name + "-karty", {'x', 'y'});
    DialogSeam::takeMessages();
    ASSERT_TRUE(form_.otworzbaze(name));
    EXPECT_TRUE(
        DialogSeam::takeMessages().join(' ').contains(QStringLiteral("nie jest plikiem kart")));
}

TEST_F(Cards, ScreenReadersFindThePage)
{
    for (const char* name : {"Rok", "Wytwórnia", "Numer katalogowy", "Kraj", "Kod kreskowy",
                             "Uwagi", "Utwory", "Okładka"}) {
        bool found = false;
        for (QWidget* widget : panel_->findChildren<QWidget*>())
            found = found || widget->accessibleName() == QString::fromUtf8(name);
        EXPECT_TRUE(found) << name;
    }
    form_.show();
    QTest::keySequence(&form_, QKeySequence(Qt::CTRL | Qt::Key_K));
    EXPECT_EQ(form_.listy->currentWidget(), form_.stronaKarty);
}

} // namespace
} // namespace alborx::test

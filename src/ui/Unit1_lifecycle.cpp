// The main window's start-up and exit, and the settings that carry the
// window, the lists and the genre list from one run to the next.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "PieChart.h"
#include "Unit1.h"
#include "cataloguefile.h"
#include "dialogs.h"
#include "listcolours.h"
#include "qtext.h"
#include "windowhelpers.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

namespace {

constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 4;
constexpr int kStyleStrikeOut = 8;
// The character set of a font that names none.
constexpr std::uint8_t kDefaultCharset = 1;

bool withinSomeScreen(const QRect& bounds)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->availableGeometry().contains(bounds);
    });
}

} // namespace

void TForm1::poczatek(const QStringList& arguments, const QString& otworz)
{
    wczytajustawienia();
    refillGenreBox();
    albumy.setLiczbaalbumow(0);
    kopiacd->setCurrentIndex(0);
    kopiamc->setCurrentIndex(0);
    nowyguzClick();
    if (!ustawienia.autoodczyt)
        ustawienia.plikbazy.clear();
    odswiezlistecd();

    ustawienia.nawierzchu = false;
    Zawszenawierzchu1->setChecked(false);
    setWindowFlag(Qt::WindowStaysOnTopHint, false);

    Chart1->setLegendBackground(palette().color(QPalette::Button));
    pokazostatnie();
    // A name from the command line that Windows-1250 cannot hold is never
    // turned into another name: it is refused as a file that cannot be read.
    QString refused;
    const auto takeName = [&](const QString& given) {
        if (const auto name = alborx::ui::fromQt(given)) {
            ustawienia.plikbazy = *name;
            refused.clear();
        } else {
            ustawienia.plikbazy.clear();
            refused = given;
        }
    };
    if (!arguments.isEmpty())
        takeName(arguments.constFirst());

    // A file opened from a file manager comes with --otworz: it opens as a
    // remembered file would with automatic opening on.
    const bool openAlways = !otworz.isEmpty();
    if (openAlways)
        takeName(otworz);

    bool opened = false;
    if (ustawienia.autoodczyt || openAlways) {
        if (!refused.isEmpty())
            alborx::ui::informacja(this, QStringLiteral("Błąd przy wczytywaniu pliku: ") + refused);
        else
            opened = otworzbaze(alborx::withAmpersandKept(ustawienia.plikbazy));
        if (opened) {
            listacd->selectAlbumRow(1);
            listacdSelectCell(1);
        }
    }
    if (!opened)
        Nowabaza1Click();
    listy->setCurrentIndex(0);
}

void TForm1::showAtStart()
{
    if (ustawienia.oknomaks)
        showMaximized();
    else
        show();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // The files are written once, however the window was closed.
    if (!closed_) {
        // A failed automatic save would lose the catalogue: the user may stay
        // and save it elsewhere. Without automatic saving (or a file to save
        // to) changed albums are not thrown away without a word.
        const bool autosave = ustawienia.autozapis && !ustawienia.plikbazy.empty();
        if (autosave && !zapiszbaze(ustawienia.plikbazy) &&
            alborx::ui::pytanie(this, QStringLiteral("ALBORX!"),
                                QStringLiteral("Zamknąć program bez zapisania bazy?"),
                                QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            event->ignore();
            return;
        }
        if (!autosave && !askToSaveChanges()) {
            event->ignore();
            return;
        }
        closed_ = true;
        zapiszustawienia();
    }
    event->accept();
}

void TForm1::wczytajustawienia()
{
    const QRect bounds = geometry();
    ustawienia.oknolewo = bounds.x();
    ustawienia.oknogora = bounds.y();
    ustawienia.oknoszerokosc = bounds.width();
    ustawienia.oknowysokosc = bounds.height();
    alborx::ustawdomyslne(ustawienia);
    if (alborx::readSettingsFile(alborx::kSettingsFileName, ustawienia))
        applyStoredLayout();
    // Sorted once: inserting line by line costs quadratic time on a long
    // list in reverse order.
    gatunki.assign(alborx::readGenreFile(alborx::kGenreFileName));
    if (!alborx::isUsableStripeDarkness(ustawienia.wyrazistosc))
        ustawienia.wyrazistosc = 15;
    alborx::zrobkolorypaskow(ustawienia);
}

void TForm1::applyStoredLayout()
{
    const alborx::TUstawienia& s = ustawienia;
    // Stored bounds are used only where a screen can show them: a size larger
    // than every screen's free area, or a place off every screen, is taken as
    // the built-in one, so a hostile file cannot make a huge window. Values
    // are cut first, so that no arithmetic on them can overflow.
    const auto coordinate = [](std::int32_t value) { return std::clamp(value, -100000, 100000); };
    const QRect stored(coordinate(s.oknolewo), coordinate(s.oknogora), coordinate(s.oknoszerokosc),
                       coordinate(s.oknowysokosc));
    const auto screens = QGuiApplication::screens();
    const bool sizeFits =
        stored.width() >= minimumWidth() && stored.height() >= minimumHeight() &&
        std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
            const QSize room = screen->availableGeometry().size();
            return stored.width() <= room.width() && stored.height() <= room.height();
        });
    const QRect bounds(stored.topLeft(), sizeFits ? stored.size() : size());
    if (withinSomeScreen(bounds)) {
        setGeometry(bounds);
    } else {
        resize(bounds.size());
        alborx::ui::centreOnScreen(this);
    }
    if (s.oknomaks)
        setWindowState(windowState() | Qt::WindowMaximized);

    for (int c = 0; c < alborx::kColumnCount; ++c) {
        const std::int32_t main = s.kolumny[static_cast<std::size_t>(c)];
        const std::int32_t filtered = s.kolumny[static_cast<std::size_t>(8 + c)];
        if (alborx::isUsableColumnWidth(main))
            listacd->setColumnWidth(c, main);
        if (alborx::isUsableColumnWidth(filtered))
            listafiltr->setColumnWidth(c, filtered);
    }
    if (alborx::isUsableRowHeight(s.wysokoscwiersza)) {
        listacd->setRowHeight(s.wysokoscwiersza);
        listafiltr->setRowHeight(s.wysokoscwiersza);
    }

    QFont font = listacd->font();
    if (alborx::isUsableFontName(s.czcionkanazwa))
        font.setFamily(alborx::ui::toQt(s.czcionkanazwa));
    if (alborx::isUsableFontSize(s.czcionkarozmiar))
        font.setPointSize(s.czcionkarozmiar);
    font.setBold(s.czcionkastyl & kStyleBold);
    font.setItalic(s.czcionkastyl & kStyleItalic);
    font.setUnderline(s.czcionkastyl & kStyleUnderline);
    font.setStrikeOut(s.czcionkastyl & kStyleStrikeOut);
    listFontColour_ = s.czcionkakolor;
    listacd->setListFont(font);
    listafiltr->setListFont(font);
}

void TForm1::storeLayout()
{
    alborx::TUstawienia& s = ustawienia;
    s.oknomaks = isMaximized();
    const QRect bounds = s.oknomaks ? normalGeometry() : geometry();
    s.oknolewo = bounds.x();
    s.oknogora = bounds.y();
    s.oknoszerokosc = bounds.width();
    s.oknowysokosc = bounds.height();

    for (int c = 0; c < alborx::kColumnCount; ++c) {
        s.kolumny[static_cast<std::size_t>(c)] = listacd->columnWidth(c);
        s.kolumny[static_cast<std::size_t>(8 + c)] = listafiltr->columnWidth(c);
    }
    s.wysokoscwiersza = listacd->rowHeight();

    const QFont font = listacd->font();
    if (s.czcionkaznaki == 0)
        s.czcionkaznaki = kDefaultCharset;
    s.czcionkakolor = listFontColour_;
    s.czcionkawysokosc = -QFontInfo(font).pixelSize();
    s.czcionkanazwa =
        alborx::ui::fromQtLossy(font.family()).substr(0, alborx::kSettingsStringCapacity);
    s.czcionkarozmiar = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
    s.czcionkastyl = static_cast<std::uint8_t>(
        (font.bold() ? kStyleBold : 0) | (font.italic() ? kStyleItalic : 0) |
        (font.underline() ? kStyleUnderline : 0) | (font.strikeOut() ? kStyleStrikeOut : 0));
}

void TForm1::zapiszustawienia()
{
    storeLayout();
    alborx::writeSettingsFile(alborx::kSettingsFileName, ustawienia);
    alborx::writeGenreFile(alborx::kGenreFileName, gatunki.items());
}

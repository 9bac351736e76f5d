#include "Unit1.h"

#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "listcolours.h"
#include "qcolours.h"
#include "qtext.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>

using alborx::ui::AlbumListView;
using alborx::ui::AlbumTableModel;

namespace {

constexpr std::array<int, 8> kListacdWidths = {36, 188, 206, 67, 23, 22, 37, 35};

// A page of the notebook: its caption padded with spaces as the tabs show
// it, and the plain caption for screen readers.
void addPage(QTabWidget* notebook, QWidget* page, const char* caption)
{
    const QString name = QString::fromUtf8(caption);
    const int index = notebook->addTab(page, QStringLiteral("   ") + name + QStringLiteral("   "));
    notebook->tabBar()->setAccessibleTabName(index, name);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ALBORX!"));
    setMinimumSize(640, 300);
    resize(649, 511);
    alborx::ustawdomyslne(ustawienia);

    buildMenu();
    buildPages();
    buildStatusBar();
    buildFileDialogs();
    buildExchangeDialogs();
    buildPrintDialogs();
    buildExportDialog();

    Form2 = new TForm2(this);
    Form3 = new TForm3(ustawienia, this);
    connect(Form3, &TForm3::exportRequested, this, &TForm1::Zapiszdoplikutekstowego1Click);
    Form4 = new TForm4(ustawienia, listacd, listafiltr, this);
    Form5 = new TForm5(this);
    Form6 = new TForm6(this);
    Form7 = new TForm7(ustawienia, this);
    connect(Form7, &TForm7::searchRequested, this, [this] {
        if (Form7->wpisywaniewfiltr->isChecked()) {
            slowofiltr->setText(Form7->szukaneslowo->text());
            szukajwpisz();
        } else {
            szukaj(ustawienia.zamieniaj);
        }
    });

    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    // The views and their models read the album tables, which are members and
    // go before the window's children would: the children go first.
    delete Splitter1;
    delete listacdModel;
    delete listafiltrModel;
    // The history reports its last state while it goes, after the menu.
    QObject::disconnect(historia, nullptr, this, nullptr);
}

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto item = [this](QMenu* menu, const char* name, const char* caption,
                             const QKeySequence& shortcut, auto handler) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* plik = bar->addMenu(QStringLiteral("&Plik"));
    plik->setObjectName(QStringLiteral("Plik1"));
    item(plik, "Nowabaza1", "&Nowa baza", {}, &TForm1::Nowabaza1Click);
    item(plik, "Otwrzbaz1", "&Otwórz bazę", QKeySequence(Qt::CTRL | Qt::Key_O),
         &TForm1::Otwrzbaz1Click);
    Ostatniepliki1 = plik->addMenu(QStringLiteral("Ostatnie p&liki"));
    Ostatniepliki1->setObjectName(QStringLiteral("Ostatniepliki1"));
    for (int k = 0; k < alborx::kRecentCount; ++k) {
        QAction* action = Ostatniepliki1->addAction(QString());
        action->setObjectName(QStringLiteral("oplik%1").arg(k + 1));
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, k] { oplikClick(k); });
        oplik[static_cast<std::size_t>(k)] = action;
    }
    item(plik, "Doczbaz1", "&Dołącz bazę", {}, &TForm1::Doczbaz1Click);
    item(plik, "Zapiszbazjako1", "Zapisz bazę j&ako", {}, &TForm1::Zapiszbazjako1Click);
    item(plik, "Zapiszbaz1", "&Zapisz bazę", QKeySequence(Qt::CTRL | Qt::Key_S),
         &TForm1::Zapiszbaz1Click);
    plik->addSeparator();
    item(plik, "Importujzcsv1", "&Importuj z CSV…", {}, &TForm1::Importujzcsv1Click);
    item(plik, "Importujztellico1", "Importuj z programu &Tellico…", {},
         &TForm1::Importujztellico1Click);
    item(plik, "Eksportujdocsv1", "&Eksportuj do CSV…", {}, &TForm1::Eksportujdocsv1Click);
    item(plik, "Drukuj1", "Dr&ukuj…", QKeySequence(Qt::CTRL | Qt::Key_P), &TForm1::Drukuj1Click);
    item(plik, "Eksportujdopdf1", "Eksportuj do PD&F…", {}, &TForm1::Eksportujdopdf1Click);
    plik->addSeparator();
    item(plik, "Wyjcie1", "&Wyjście", {}, &TForm1::Wyjcie1Click);

    buildEditMenu(bar);

    QMenu* szukanie = bar->addMenu(QStringLiteral("&Wyszukiwanie"));
    szukanie->setObjectName(QStringLiteral("Wyszukiwanie1"));
    item(szukanie, "Szukaj1", "&Szukaj (i zamień)", QKeySequence(Qt::Key_F7),
         &TForm1::Szukaj1Click);
    item(szukanie, "Znajdnastpny1", "&Znajdź następny...", QKeySequence(Qt::Key_F3),
         &TForm1::Znajdnastpny1Click);
    item(szukanie, "Zamienastpny1", "Zamień &następny...", QKeySequence(Qt::SHIFT | Qt::Key_F3),
         &TForm1::Zamienastpny1Click);
    szukanie->addSeparator();
    item(szukanie, "Szukajwmusicbrainz1", "Szukaj w &MusicBrainz…",
         QKeySequence(Qt::CTRL | Qt::Key_M), &TForm1::Szukajwmusicbrainz1Click);

    QMenu* opcje = bar->addMenu(QStringLiteral("&Opcje"));
    opcje->setObjectName(QStringLiteral("Opcje1"));
    item(opcje, "Ustawieniaprogramu1", "&Ustawienia programu", {},
         &TForm1::Ustawieniaprogramu1Click);
    Zawszenawierzchu1 = item(opcje, "Zawszenawierzchu1", "Zawsze na &wierzchu",
                             QKeySequence(Qt::CTRL | Qt::Key_A), &TForm1::Zawszenawierzchu1Click);
    Zawszenawierzchu1->setCheckable(true);
    opcje->addSeparator();
    item(opcje, "Zapiszdoplikutekstowego1", "Zapisz do pliku &tekstowego", {},
         &TForm1::Zapiszdoplikutekstowego1Click);
    item(opcje, "Formatplikutekstowego1", "&Format pliku tekstowego", {},
         &TForm1::Formatplikutekstowego1Click);
    opcje->addSeparator();
    QMenu* szerokosci = opcje->addMenu(QStringLiteral("&Kopiuj szerokości kolumn"));
    szerokosci->setObjectName(QStringLiteral("Kopiujszerokocikolumn1"));
    item(szerokosci, "Szerokocikolumnspisprzefiltrowany1", "&spis->przefiltrowany", {},
         &TForm1::Szerokocikolumnspisprzefiltrowany1Click);
    item(szerokosci, "Szerokocikolumnprzefiltrowanyspis1", "&przefiltrowany->spis", {},
         &TForm1::Szerokocikolumnprzefiltrowanyspis1Click);

    QMenu* pomoc = bar->addMenu(QStringLiteral("Po&moc"));
    pomoc->setObjectName(QStringLiteral("Pomoc1"));
    item(pomoc, "Oprogramie1", "&O programie", {}, &TForm1::Oprogramie1Click);
    item(pomoc, "Pomoc2", "&Pomoc", QKeySequence(Qt::Key_F1), &TForm1::Pomoc2Click);
}

void TForm1::buildPages()
{
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setOpaqueResize(true);
    Splitter1->setChildrenCollapsible(false);

    Panel1 = new QFrame(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setMinimumHeight(1);
    buildEditor();

    listy = new QTabWidget(Splitter1);
    listy->setObjectName(QStringLiteral("listy"));
    QFont tabFont(QStringLiteral("Tahoma"), 8);
    tabFont.setBold(true);
    listy->tabBar()->setFont(tabFont);

    listacdModel = new AlbumTableModel(albumy, this);
    listacdModel->setCellColours(cellColours());
    listacd = new AlbumListView(listacdModel, kListacdWidths);
    listacd->setObjectName(QStringLiteral("listacd"));
    listacd->setAccessibleName(QStringLiteral("Spis albumów"));
    addPage(listy, listacd, "Spis albumów");
    connect(listacd, &AlbumListView::albumRowSelected, this, [this](int row) {
        if (!ignoreListacdSelection_)
            listacdSelectCell(row);
    });
    connect(listacd, &AlbumListView::sorted, this, &TForm1::followSortedRows);

    addPage(listy, buildFilterPage(), "Spis przefiltrowany");
    addPage(listy, buildGenrePage(), "Gatunki muzyki");
    addPage(listy, buildSummaryPage(), "Podsumowanie");
    addPage(listy, buildCardPage(), "Karta albumu");
    connect(listy, &QTabWidget::currentChanged, this, &TForm1::listyChange);

    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(listy);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({129, 300});
    setCentralWidget(Splitter1);
}

void TForm1::buildStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusPanels[0] = new QLabel;
    statusPanels[0]->setFixedWidth(120);
    statusPanels[1] = new QLabel;
    statusPanels[1]->setMinimumWidth(50);
    StatusBar1->addWidget(statusPanels[0]);
    StatusBar1->addWidget(statusPanels[1], 1);
}

bool TForm1::event(QEvent* event)
{
    // Menu items have no hints; the first status panel shows the hints of
    // controls, so the status bar's own messages are not wanted.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The genre box offers its text to the genre list when the user moves
    // into it or out of it; opening its own list or leaving the window does
    // not count.
    if (watched == agatunek &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            agatunekEnter();
    }
    if ((event->type() == QEvent::Enter || event->type() == QEvent::Leave) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
        showHintUnderPointer();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::showHintUnderPointer()
{
    const QWidget* under = QApplication::widgetAt(QCursor::pos());
    const QString hint = under && under->window() == this ? under->statusTip() : QString();
    // Like a hint that changes, not every move: over controls without a hint
    // the count stays until the pointer has left a control with one.
    if (hint == lastHint_)
        return;
    lastHint_ = hint;
    statusPanels[0]->setText(hint);
}

void TForm1::Ustawieniaprogramu1Click()
{
    Form4->open();
}

void TForm1::Pomoc2Click()
{
    Form6->show();
}

void TForm1::Formatplikutekstowego1Click()
{
    Form3->show();
}

void TForm1::Oprogramie1Click()
{
    Form2->show();
}

std::function<void(int, int, QColor&, QColor&)> TForm1::cellColours() const
{
    return [this](int row, int column, QColor& background, QColor& text) {
        const alborx::CellColours colours = alborx::listacdGetCellColor(ustawienia, row, column);
        background = alborx::ui::toQColor(colours.background);
        text = alborx::ui::toQColor(colours.text);
    };
}

void TForm1::Zawszenawierzchu1Click()
{
    const bool onTop = Zawszenawierzchu1->isChecked();
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible)
        show();
    ustawienia.nawierzchu = onTop;
}

void TForm1::Szerokocikolumnspisprzefiltrowany1Click()
{
    for (int c = 0; c < alborx::kColumnCount; ++c)
        listafiltr->setColumnWidth(c, listacd->columnWidth(c));
}

void TForm1::Szerokocikolumnprzefiltrowanyspis1Click()
{
    for (int c = 0; c < alborx::kColumnCount; ++c)
        listacd->setColumnWidth(c, listafiltr->columnWidth(c));
}

void TForm1::listyChange()
{
    refillGenreListBox();
    scheduleCardShow();
}

void TForm1::odswiezlistecd()
{
    statusPanels[0]->setText(QStringLiteral("wpisów: ") + QString::number(albumy.liczbaalbumow()));
    statusPanels[1]->setText(alborx::ui::toQt(ustawienia.plikbazy));
    genrePanels[1]->setText(QString::number(gatunki.count()));
}

// The genre list: the genre box of the editor and the tab "Gatunki muzyki".
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "historytexts.h"
#include "qtext.h"
#include "textvalidator.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using alborx::ui::fromQtLossy;
using alborx::ui::toQt;

QWidget* TForm1::buildGenrePage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(4);

    listagatunkow = new QListWidget;
    listagatunkow->setObjectName(QStringLiteral("listagatunkow"));
    listagatunkow->setAccessibleName(QStringLiteral("Gatunki muzyki"));
    QPalette navy = listagatunkow->palette();
    navy.setColor(QPalette::Text, QColor(0, 0, 128));
    listagatunkow->setPalette(navy);
    listagatunkow->setContextMenuPolicy(Qt::ActionsContextMenu);
    Usu1 = new QAction(QStringLiteral("Usuń"), listagatunkow);
    Usu1->setObjectName(QStringLiteral("Usu1"));
    listagatunkow->addAction(Usu1);
    layout->addWidget(listagatunkow, 0, 0);

    auto* panel = new QWidget;
    auto* edit = new QVBoxLayout(panel);
    edit->setContentsMargins(4, 0, 4, 0);
    edit->setSpacing(4);
    auto* caption = new QLabel(QStringLiteral("Edycja nazwy gatunku"));
    gnazwagatunku = new QLineEdit;
    gnazwagatunku->setObjectName(QStringLiteral("gnazwagatunku"));
    gnazwagatunku->setPalette(navy);
    alborx::ui::keepToCodePage(gnazwagatunku);
    caption->setBuddy(gnazwagatunku);
    gnazwagatunku->setAccessibleName(caption->text());
    const auto button = [](const char* name, const char* text) {
        auto* push = new QPushButton(QString::fromUtf8(text));
        push->setObjectName(QString::fromLatin1(name));
        return push;
    };
    Button1 = button("Button1", "Popraw na liście");
    Button2 = button("Button2", "Usuń z listy");
    Button1a = button("Button1a", "Popraw na liście i w bazie");
    Button3 = button("Button3", "Dodaj do listy gatunków");
    SpeedButton2 = button("SpeedButton2", "Szukaj nowych w bazie");
    setGenreButtonsEnabled(false);
    auto* pair = new QHBoxLayout;
    pair->addWidget(Button1);
    pair->addWidget(Button2);
    edit->addWidget(caption);
    edit->addWidget(gnazwagatunku);
    edit->addLayout(pair);
    edit->addWidget(Button1a);
    edit->addWidget(Button3);
    edit->addWidget(SpeedButton2);
    edit->addStretch();
    layout->addWidget(panel, 0, 1);
    layout->setColumnStretch(0, 1);

    StatusBargat = new QStatusBar;
    StatusBargat->setObjectName(QStringLiteral("StatusBargat"));
    StatusBargat->setSizeGripEnabled(false);
    genrePanels[0] = new QLabel(QStringLiteral("Liczba gatunków w bazie:"));
    genrePanels[1] = new QLabel(QStringLiteral("0"));
    StatusBargat->addWidget(genrePanels[0]);
    StatusBargat->addWidget(genrePanels[1], 1);
    layout->addWidget(StatusBargat, 1, 0, 1, 2);

    connect(listagatunkow, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            listagatunkowClick();
    });
    connect(listagatunkow, &QListWidget::itemClicked, this, &TForm1::listagatunkowClick);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button1a, &QPushButton::clicked, this, &TForm1::Button1aClick);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Usu1, &QAction::triggered, this, &TForm1::Usu1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm1::SpeedButton2Click);
    return page;
}

void TForm1::setGenreButtonsEnabled(bool enabled)
{
    Button1->setEnabled(enabled);
    Button1a->setEnabled(enabled);
    Button2->setEnabled(enabled);
}

void TForm1::refillGenreListBox()
{
    const QSignalBlocker quiet(listagatunkow);
    listagatunkow->clear();
    for (const std::string& genre : gatunki.items())
        listagatunkow->addItem(toQt(genre));
    genrePanels[1]->setText(QString::number(gatunki.count()));
}

void TForm1::refillGenreBox()
{
    const QString shown = agatunek->currentText();
    const QSignalBlocker quiet(agatunek);
    agatunek->clear();
    for (const std::string& genre : gatunki.items())
        agatunek->addItem(toQt(genre));
    agatunek->setEditText(shown);
}

void TForm1::takeGenresFromListBox()
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(listagatunkow->count()));
    for (int i = 0; i < listagatunkow->count(); ++i)
        names.push_back(fromQtLossy(listagatunkow->item(i)->text()));
    gatunki.assign(std::move(names));
    refillGenreBox();
}

void TForm1::agatunekEnter()
{
    if (gatunki.dodajgatunek(fromQtLossy(agatunek->currentText())))
        refillGenreBox();
    refillGenreListBox();
}

void TForm1::listagatunkowClick()
{
    const QListWidgetItem* item = listagatunkow->currentItem();
    if (!item)
        return;
    gnazwagatunku->setText(item->text());
    takeGenresFromListBox();
    setGenreButtonsEnabled(true);
}

namespace {

// The entry the user selected, or null: a refill clears the selection, and
// the buttons then change nothing.
QListWidgetItem* selectedGenre(QListWidget* list)
{
    QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

} // namespace

void TForm1::Button1Click()
{
    QListWidgetItem* item = selectedGenre(listagatunkow);
    if (!item)
        return;
    item->setText(gnazwagatunku->text());
    takeGenresFromListBox();
    odswiezlistecd();
}

void TForm1::Button1aClick()
{
    const QListWidgetItem* item = selectedGenre(listagatunkow);
    if (!item)
        return;
    const std::string old = fromQtLossy(item->text());
    const std::string renamed = fromQtLossy(gnazwagatunku->text());
    alborx::TableChange change = alborx::renameGenreInAlbums(albumy, old, renamed);
    const int fields = static_cast<int>(change.cells.size());
    makeChange(
        std::move(change),
        QStringLiteral("Popraw gatunek «%1» (%2)").arg(toQt(old), alborx::ui::fieldCount(fields)),
        StepKind::Edit, {{}, old, renamed});
    Button1Click();
}

void TForm1::Button2Click()
{
    if (!selectedGenre(listagatunkow))
        return;
    Usu1Click();
    odswiezlistecd();
}

void TForm1::Usu1Click()
{
    if (QListWidgetItem* item = selectedGenre(listagatunkow))
        delete listagatunkow->takeItem(listagatunkow->row(item));
    takeGenresFromListBox();
    gnazwagatunku->clear();
    setGenreButtonsEnabled(false);
    genrePanels[1]->setText(QString::number(gatunki.count()));
}

void TForm1::Button3Click()
{
    if (gatunki.dodajgatunek(fromQtLossy(gnazwagatunku->text())))
        refillGenreBox();
    refillGenreListBox();
    setGenreButtonsEnabled(false);
    odswiezlistecd();
}

void TForm1::SpeedButton2Click()
{
    const int albums = albumy.liczbaalbumow();
    if (albums > 0) {
        ProgressScope progress(*Form5, QStringLiteral("Szukanie..."));
        progress->setMaximum(albums - 1);
        for (int row = 1; row <= albums; ++row) {
            gatunki.dodajgatunek(albumy.cell(alborx::ColumnGenre, row));
            alborx::advanceProgress(progress.get(), row, alborx::kAlbumLoopStep);
        }
        refillGenreBox();
        refillGenreListBox();
    }
    odswiezlistecd();
}

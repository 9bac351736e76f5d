// The filtered list: its page with the filter panel, the rebuild, and the
// selection of a filtered album.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "Unit7.h"
#include "qtext.h"
#include "textvalidator.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using alborx::ui::AlbumListView;

namespace {

constexpr std::array<int, 8> kListafiltrWidths = {35, 188, 206, 67, 23, 22, 37, 35};

QCheckBox* filterBox(const char* name, const char* caption, bool ticked)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(ticked);
    return box;
}

QPushButton* flatButton(const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

QWidget* TForm1::buildFilterPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    listafiltrModel = new alborx::ui::AlbumTableModel(przefiltrowane, this);
    listafiltrModel->setCellColours(cellColours());
    listafiltrModel->setBlankRowShown(false);
    listafiltr = new AlbumListView(listafiltrModel, kListafiltrWidths);
    listafiltr->setObjectName(QStringLiteral("listafiltr"));
    listafiltr->setAccessibleName(QStringLiteral("Spis przefiltrowany"));
    connect(listafiltr, &AlbumListView::albumRowSelected, this, [this](int row) {
        if (!ignoreListafiltrSelection_)
            listafiltrSelectCell(row);
    });
    connect(listafiltr, &AlbumListView::sorted, this, [this](const std::vector<int>& moved) {
        const std::int32_t row = binding.wierszfiltru;
        if (row >= 1 && row < static_cast<std::int32_t>(moved.size()))
            binding.wierszfiltru = moved[static_cast<std::size_t>(row)];
    });
    layout->addWidget(listafiltr, 1);

    Panelfiltr = new QFrame;
    Panelfiltr->setObjectName(QStringLiteral("Panelfiltr"));
    Panelfiltr->setFrameShape(QFrame::StyledPanel);
    auto* panel = new QVBoxLayout(Panelfiltr);
    panel->setContentsMargins(4, 2, 4, 2);
    panel->setSpacing(2);
    f_tylkocd = filterBox("f_tylkocd", "CD", true);
    f_tylkomc = filterBox("f_tylkomc", "MC", false);
    f_oryg = filterBox("f_oryg", "Oryginały", true);
    f_pir = filterBox("f_pir", "Piraty", true);
    f_kop = filterBox("f_kop", "Kopie", true);
    f_mp3 = filterBox("f_mp3", "Z MP3", true);
    auto* wordLabel = new QLabel(QStringLiteral("Filtr:"));
    slowofiltr = new QLineEdit;
    slowofiltr->setObjectName(QStringLiteral("slowofiltr"));
    alborx::ui::keepToCodePage(slowofiltr);
    wordLabel->setBuddy(slowofiltr);
    slowofiltr->setAccessibleName(wordLabel->text());
    f_odswiez = flatButton("f_odswiez", "Odśwież!");
    SpeedButton1 = flatButton("SpeedButton1", "Zaawansowane");
    f_suma = new QLabel(QStringLiteral("Suma:"));
    f_suma->setObjectName(QStringLiteral("f_suma"));
    f_suma->setMinimumWidth(80);

    // Media and copy kinds above, the word and the commands below.
    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(8);
    boxes->addWidget(f_tylkocd);
    boxes->addWidget(f_tylkomc);
    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    boxes->addWidget(separator);
    for (QWidget* w : {f_oryg, f_pir, f_kop, f_mp3})
        boxes->addWidget(w);
    boxes->addStretch();
    boxes->addWidget(f_suma);
    auto* word = new QHBoxLayout;
    word->setSpacing(6);
    word->addWidget(wordLabel);
    word->addWidget(slowofiltr, 1);
    word->addWidget(f_odswiez);
    word->addWidget(SpeedButton1);
    panel->addLayout(boxes);
    panel->addLayout(word);
    layout->addWidget(Panelfiltr);

    setTabOrder(f_tylkocd, f_tylkomc);
    setTabOrder(f_tylkomc, f_oryg);
    setTabOrder(f_oryg, f_pir);
    setTabOrder(f_pir, f_kop);
    setTabOrder(f_kop, slowofiltr);
    setTabOrder(slowofiltr, f_mp3);

    connect(f_odswiez, &QPushButton::clicked, this, &TForm1::f_odswiezClick);
    // Enter rebuilds the list; the box takes no character for it.
    connect(slowofiltr, &QLineEdit::returnPressed, this, &TForm1::f_odswiezClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);
    return page;
}

alborx::MediumFilter TForm1::mediumFilter() const
{
    return {f_tylkocd->isChecked(), f_tylkomc->isChecked(), f_oryg->isChecked(),
            f_pir->isChecked(),     f_kop->isChecked(),     f_mp3->isChecked()};
}

bool TForm1::pasujenosnik(int row) const
{
    return alborx::pasujenosnik(albumy.row(row), mediumFilter());
}

void TForm1::showFilteredAlbums(const std::vector<int>& albumRows)
{
    const int count = static_cast<int>(albumRows.size());
    const QSignalBlocker quiet(listafiltr->selectionModel());
    przefiltrowane.assignRowsOf(albumy, albumRows);
    ++filterGeneration_;
    listafiltrModel->reload();
    f_suma->setText(QStringLiteral("Suma: ") + QString::number(count));
}

void TForm1::f_odswiezClick()
{
    const int albums = albumy.liczbaalbumow();
    if (albums < 1)
        return;
    std::vector<int> passed;
    {
        ProgressScope progress(*Form5, QStringLiteral("Filtrowanie..."));
        passed = alborx::filterAlbums(albumy, mediumFilter(),
                                      alborx::ui::fromQtLossy(slowofiltr->text()), progress.get());
    }
    odswiezlistecd();
    showFilteredAlbums(passed);
}

void TForm1::listafiltrSelectCell(int row)
{
    if (row < 1 || row >= przefiltrowane.rowCount())
        return;
    binding.wierszfiltru = row;
    showEditorForm(alborx::formFromRow(przefiltrowane.row(row)));
    // The filtered list holds copies of albums under their keys, so the
    // album itself is found in the main list, whatever other albums share
    // its ID; that selection does not count as one made there. An album no
    // longer in the catalogue binds the editor to nothing Popraw or Usuń
    // could touch.
    binding.boundKey = row <= przefiltrowane.liczbaalbumow() ? przefiltrowane.rowKey(row) : 0;
    const int found = binding.boundKey != 0 ? albumy.rowsOfKeys({binding.boundKey}).front() : 0;
    if (found > 0) {
        ignoreListacdSelection_ = true;
        listacd->selectAlbumRow(found);
        ignoreListacdSelection_ = false;
        binding.wybranywiersz = found;
    }
    binding.zfiltru = true;
    poprawguz->setEnabled(true);
}

void TForm1::SpeedButton1Click()
{
    if (!Form7->wpisywaniewfiltr->isChecked())
        Form7->wpisywaniewfiltr->setChecked(true);
    ustawienia.szukane =
        alborx::ui::fromQtLossy(slowofiltr->text()).substr(0, alborx::kSettingsStringCapacity);
    Form7->show();
}

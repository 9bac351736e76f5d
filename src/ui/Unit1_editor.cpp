// The album editor: the panel above the lists that types in, corrects and
// removes albums.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "buttonpictures.h"
#include "copykinds.h"
#include "dialogs.h"
#include "historytexts.h"
#include "qtext.h"
#include "textvalidator.h"
#include "windowhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

using alborx::ui::fromQtLossy;
using alborx::ui::setHint;
using alborx::ui::toQt;

namespace {

const QColor kIdColour(0, 128, 0);
const QColor kTextColour(0, 0, 128);
const QColor kCopyKindColour(208, 0, 0);

void setTextColour(QWidget* widget, const QColor& colour)
{
    // Disabled controls keep the grey of the style.
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, colour);
        palette.setColor(group, QPalette::ButtonText, colour);
        palette.setColor(group, QPalette::WindowText, colour);
    }
    widget->setPalette(palette);
}

QLineEdit* field(const char* name, const QColor& colour, int limit, const char* hint,
                 const alborx::ui::ReplacementNotice& onReplaced)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    setTextColour(edit, colour);
    alborx::ui::keepToCodePage(edit, limit, onReplaced);
    setHint(edit, QString::fromUtf8(hint));
    return edit;
}

QLabel* labelFor(const char* caption, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(buddy);
    buddy->setAccessibleName(label->text());
    return label;
}

QToolButton* clearButton(const char* name, const char* hint)
{
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(alborx::ui::clearPicture());
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 18);
    setHint(button, QString::fromUtf8(hint));
    button->setAccessibleName(button->toolTip());
    return button;
}

QPushButton* button(const char* name, const char* caption, const char* hint)
{
    auto* push = new QPushButton(QString::fromUtf8(caption));
    push->setObjectName(QString::fromLatin1(name));
    // Tab reaches the buttons, so that albums go in from the keyboard alone;
    // a click leaves the focus where the user was typing.
    push->setFocusPolicy(Qt::TabFocus);
    setHint(push, QString::fromUtf8(hint));
    return push;
}

// The copy-kind list opens its items as soon as the user types into it.
class OpenOnTyping : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* box = static_cast<QComboBox*>(watched);
            if (!static_cast<QKeyEvent*>(event)->text().trimmed().isEmpty() &&
                !box->view()->isVisible())
                box->showPopup();
        }
        return false;
    }
};

QComboBox* copyKindBox(const char* name, const char* hint)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (int code = 1; code < alborx::kCopyKindCount; ++code)
        box->addItem(toQt(alborx::copyKindItem(code)));
    setTextColour(box, kCopyKindColour);
    setHint(box, QString::fromUtf8(hint));
    box->setAccessibleName(box->toolTip());
    box->installEventFilter(new OpenOnTyping(box));
    box->setEnabled(false);
    return box;
}

} // namespace

void TForm1::buildEditor()
{
    QFont panelFont(QStringLiteral("Tahoma"), 8);
    Panel1->setFont(panelFont);
    auto* panel = new QHBoxLayout(Panel1);
    panel->setContentsMargins(4, 2, 4, 2);
    panel->setSpacing(6);

    albumramka = new QGroupBox(QStringLiteral("Album"));
    albumramka->setObjectName(QStringLiteral("albumramka"));
    auto* album = new QGridLayout(albumramka);
    album->setContentsMargins(6, 2, 6, 4);
    album->setHorizontalSpacing(4);
    album->setVerticalSpacing(2);
    // A character the catalogue cannot hold becomes its nearest as it is
    // typed or pasted; the status line says which.
    const alborx::ui::ReplacementNotice sayReplaced = [this](const QStringList& replaced) {
        StatusBar1->showMessage(
            QStringLiteral("Znaki spoza Windows-1250 zastąpiono najbliższymi: ") +
                replaced.join(QStringLiteral(", ")),
            10000);
    };
    aid = field("aid", kIdColour, 5,
                "Numer identyfikacyjny albumu - pozostaw puste w celu automatycznego nadania ID",
                sayReplaced);
    aid->setMaximumWidth(60);
    azespol = field("azespol", kTextColour, 35, "Nazwa zespołu", sayReplaced);
    aalbum = field("aalbum", kTextColour, 60, "Tytuł albumu", sayReplaced);
    agatunek = new QComboBox;
    agatunek->setObjectName(QStringLiteral("agatunek"));
    agatunek->setEditable(true);
    agatunek->setInsertPolicy(QComboBox::NoInsert);
    agatunek->setMaxVisibleItems(16);
    setTextColour(agatunek, kTextColour);
    alborx::ui::keepToCodePage(agatunek->lineEdit(), 30, sayReplaced);
    setHint(agatunek, QStringLiteral("Gatunek muzyki albumu - wpisz nowy lub wybierz z listy"));
    agatunek->lineEdit()->setStatusTip(agatunek->statusTip());
    czid = clearButton("czid", "Czyść ID");
    czzespol = clearButton("czzespol", "Czyść Zespół");
    czalbum = clearButton("czalbum", "Czyść Album");
    czgatunek = clearButton("czgatunek", "Czyść Gatunek");
    nowyguz =
        button("nowyguz", "Nowy album", "Czyści wszystkie pola w celu wpisania nowego albumu");
    nowyttensamguz = button("nowyttensamguz", "Inny album",
                            "Czyści część pól w celu wpisania nowego albumu tego samego zespołu");
    musicbrainzguz = button("musicbrainzguz", "MusicBrainz…",
                            "Szuka albumu w bazie MusicBrainz i wstawia go do edytora");

    album->addWidget(labelFor("ID albumu", aid), 0, 0);
    auto* idRow = new QHBoxLayout;
    idRow->setSpacing(4);
    idRow->addWidget(aid);
    idRow->addWidget(czid);
    idRow->addStretch();
    idRow->addWidget(nowyguz);
    idRow->addWidget(nowyttensamguz);
    album->addLayout(idRow, 0, 1, 1, 2);
    album->addWidget(labelFor("Wykonawca", azespol), 1, 0);
    album->addWidget(azespol, 1, 1);
    album->addWidget(czzespol, 1, 2);
    album->addWidget(labelFor("Album", aalbum), 2, 0);
    album->addWidget(aalbum, 2, 1);
    album->addWidget(czalbum, 2, 2);
    album->addWidget(labelFor("Gatunek", agatunek), 3, 0);
    // The typing part of the box is what a screen reader is on.
    agatunek->lineEdit()->setAccessibleName(agatunek->accessibleName());
    album->addWidget(agatunek, 3, 1);
    album->addWidget(czgatunek, 3, 2);
    album->setColumnStretch(1, 1);
    panel->addWidget(albumramka, 1);

    danecdmc = new QGroupBox(QStringLiteral("Posiadany nośnik"));
    danecdmc->setObjectName(QStringLiteral("danecdmc"));
    auto* media = new QGridLayout(danecdmc);
    media->setContentsMargins(6, 2, 6, 4);
    media->setHorizontalSpacing(4);
    media->setVerticalSpacing(2);
    nosnikcd = new QCheckBox(QStringLiteral("CD"));
    nosnikcd->setObjectName(QStringLiteral("nosnikcd"));
    setHint(nosnikcd, QStringLiteral("Jest na CD"));
    idcd = field("idcd", kIdColour, 0,
                 "Numer identyfikacyjny plyty CD - pozostaw puste w celu automatycznego nadania ID",
                 sayReplaced);
    idcd->setEnabled(false);
    idcd->setMaximumWidth(60);
    kopiacd = copyKindBox("kopiacd", "Rodzaj kopii na tym CD");
    czidcd = clearButton("czidcd", "Czyść ID CD");
    nosnikmc = new QCheckBox(QStringLiteral("MC"));
    nosnikmc->setObjectName(QStringLiteral("nosnikmc"));
    setHint(nosnikmc, QStringLiteral("Jest na kasecie"));
    idmc = field("idmc", kIdColour, 0,
                 "Numer identyfikacyjny kasety - pozostaw puste w celu automatycznego nadania ID",
                 sayReplaced);
    idmc->setEnabled(false);
    idmc->setMaximumWidth(60);
    kopiamc = copyKindBox("kopiamc", "Rodzaj kopii na tej kasecie");
    czidmc = clearButton("czidmc", "Czyść ID MC");
    // Before start-up completes the cassette is ticked with its fields off;
    // the start-up's Nowy album unticks it.
    nosnikmc->setChecked(true);

    media->addWidget(nosnikcd, 0, 0);
    media->addWidget(labelFor("ID", idcd), 0, 1);
    // Both fields show "ID"; a screen reader tells them apart.
    idcd->setAccessibleName(QStringLiteral("ID CD"));
    media->addWidget(idcd, 0, 2);
    media->addWidget(czidcd, 0, 3);
    media->addWidget(kopiacd, 0, 4);
    media->addWidget(nosnikmc, 1, 0);
    media->addWidget(labelFor("ID", idmc), 1, 1);
    idmc->setAccessibleName(QStringLiteral("ID MC"));
    media->addWidget(idmc, 1, 2);
    media->addWidget(czidmc, 1, 3);
    media->addWidget(kopiamc, 1, 4);
    // A screen reader names a list by its value and finds what it is for
    // through the labels that point at it; these lists show no label, so
    // each has one that stays hidden.
    for (QComboBox* box : {kopiacd, kopiamc}) {
        auto* label = new QLabel(box->accessibleName(), danecdmc);
        label->setBuddy(box);
        label->hide();
    }

    dodajguz = button("dodajguz", "Dodaj", "Dodaje ten album do bazy");
    dodajguz->setIcon(alborx::ui::addPicture());
    poprawguz = button("poprawguz", "Popraw", "Poprawia w bazie wybrany album");
    poprawguz->setIcon(alborx::ui::fixPicture());
    poprawguz->setEnabled(false);
    usunguz = button("usunguz", "Usuń", "Usuwa album z bazy");
    usunguz->setIcon(alborx::ui::removePicture());
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(dodajguz);
    buttons->addWidget(poprawguz);
    buttons->addWidget(usunguz);

    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    right->addWidget(danecdmc);
    right->addLayout(buttons);
    right->addWidget(musicbrainzguz);
    panel->addLayout(right);

    setTabOrder(aid, azespol);
    setTabOrder(azespol, aalbum);
    setTabOrder(aalbum, agatunek);
    setTabOrder(agatunek, nosnikcd);
    setTabOrder(nosnikcd, idcd);
    setTabOrder(idcd, kopiacd);
    setTabOrder(kopiacd, nosnikmc);
    setTabOrder(nosnikmc, idmc);
    setTabOrder(idmc, kopiamc);
    setTabOrder(kopiamc, dodajguz);
    setTabOrder(dodajguz, poprawguz);
    setTabOrder(poprawguz, usunguz);
    setTabOrder(usunguz, nowyguz);
    setTabOrder(nowyguz, nowyttensamguz);
    setTabOrder(nowyttensamguz, musicbrainzguz);
    // Ctrl+Enter adds the album being typed, wherever in the editor.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* add = new QShortcut(keys, Panel1, this, &TForm1::dodajguzClick);
        add->setContext(Qt::WidgetWithChildrenShortcut);
    }

    connect(nosnikcd, &QCheckBox::toggled, this, &TForm1::nosnikcdClick);
    connect(nosnikmc, &QCheckBox::toggled, this, &TForm1::nosnikmcClick);
    connect(dodajguz, &QPushButton::clicked, this, &TForm1::dodajguzClick);
    connect(poprawguz, &QPushButton::clicked, this, &TForm1::poprawguzClick);
    connect(usunguz, &QPushButton::clicked, this, &TForm1::usunguzClick);
    connect(nowyguz, &QPushButton::clicked, this, &TForm1::nowyguzClick);
    connect(nowyttensamguz, &QPushButton::clicked, this, &TForm1::nowyttensamguzClick);
    connect(musicbrainzguz, &QPushButton::clicked, this, &TForm1::musicbrainzguzClick);
    connect(czid, &QToolButton::clicked, aid, &QLineEdit::clear);
    connect(czzespol, &QToolButton::clicked, azespol, &QLineEdit::clear);
    connect(czalbum, &QToolButton::clicked, aalbum, &QLineEdit::clear);
    connect(czgatunek, &QToolButton::clicked, agatunek, &QComboBox::clearEditText);
    connect(czidcd, &QToolButton::clicked, idcd, &QLineEdit::clear);
    connect(czidmc, &QToolButton::clicked, idmc, &QLineEdit::clear);
}

alborx::EditorForm TForm1::editorForm() const
{
    alborx::EditorForm form;
    form.aid = fromQtLossy(aid->text());
    form.azespol = fromQtLossy(azespol->text());
    form.aalbum = fromQtLossy(aalbum->text());
    form.agatunek = fromQtLossy(agatunek->currentText());
    form.nosnikcd = nosnikcd->isChecked();
    form.idcd = fromQtLossy(idcd->text());
    form.kopiacd = kopiacd->currentIndex();
    form.nosnikmc = nosnikmc->isChecked();
    form.idmc = fromQtLossy(idmc->text());
    form.kopiamc = kopiamc->currentIndex();
    return form;
}

void TForm1::showEditorForm(const alborx::EditorForm& form)
{
    aid->setText(toQt(form.aid));
    azespol->setText(toQt(form.azespol));
    aalbum->setText(toQt(form.aalbum));
    agatunek->setEditText(toQt(form.agatunek));
    nosnikcd->setChecked(form.nosnikcd);
    idcd->setText(toQt(form.idcd));
    kopiacd->setCurrentIndex(form.kopiacd);
    nosnikmc->setChecked(form.nosnikmc);
    idmc->setText(toQt(form.idmc));
    kopiamc->setCurrentIndex(form.kopiamc);
    // toggled reports only changes; the medium rule must hold either way.
    nosnikcdClick();
    nosnikmcClick();
    scheduleCardShow();
}

void TForm1::listacdSelectCell(int row)
{
    if (row < 1 || row >= albumy.rowCount())
        return;
    binding.wybranywiersz = row;
    binding.boundKey = albumy.rowKey(row);
    binding.zfiltru = false;
    showEditorForm(alborx::formFromRow(albumy.row(row)));
    poprawguz->setEnabled(true);
}

void TForm1::nosnikcdClick()
{
    kopiacd->setEnabled(nosnikcd->isChecked());
    idcd->setEnabled(nosnikcd->isChecked());
}

void TForm1::nosnikmcClick()
{
    kopiamc->setEnabled(nosnikmc->isChecked());
    idmc->setEnabled(nosnikmc->isChecked());
}

void TForm1::noFreeId()
{
    alborx::ui::informacja(this, QStringLiteral("Brak wolnego numeru ID."));
}

void TForm1::scrollToAlbumRow(int row)
{
    const QModelIndex index = listacdModel->index(row - 1, 0);
    const QRect shown = listacd->visualRect(index);
    const bool inView = shown.isValid() && listacd->viewport()->rect().contains(shown);
    listacd->scrollTo(index, inView ? QAbstractItemView::EnsureVisible
                                    : QAbstractItemView::PositionAtCenter);
    listacd->horizontalScrollBar()->setValue(0);
}

void TForm1::dodajguzClick()
{
    ignoreListacdSelection_ = true;
    alborx::EditorForm form = editorForm();
    alborx::EditOutcome added = alborx::dodajalbum(albumy, form, ustawienia);
    if (added.result == alborx::EditResult::Written) {
        if (pendingCard_)
            added.change.cards.push_back(
                {added.change.inserted.front().key, nullptr, std::exchange(pendingCard_, {})});
        const QString text = QStringLiteral("Dodaj album ") +
                             alborx::ui::albumCaption(added.change.inserted.front().row);
        makeChange(std::move(added.change), text);
        const int row = albumy.liczbaalbumow();
        aid->setText(toQt(form.aid));
        idcd->setText(toQt(form.idcd));
        idmc->setText(toQt(form.idmc));
        poprawguz->setEnabled(true);
        listacd->selectAlbumRow(row, QAbstractItemView::EnsureVisible);
        scrollToAlbumRow(row);
        binding.wybranywiersz = row;
        binding.boundKey = albumy.rowKey(row);
        binding.zfiltru = false;
    } else if (added.result == alborx::EditResult::NoFreeId) {
        noFreeId();
    }
    ignoreListacdSelection_ = false;
}

void TForm1::poprawguzClick()
{
    const int row = alborx::boundRow(albumy, binding);
    if (row > 0)
        binding.wybranywiersz = row;
    alborx::EditorForm form = editorForm();
    alborx::EditOutcome corrected = alborx::poprawalbum(albumy, binding, form, ustawienia);
    if (corrected.result == alborx::EditResult::Written) {
        const QString text =
            QStringLiteral("Popraw album ") + alborx::ui::albumCaption(alborx::rowOfForm(form));
        makeChange(std::move(corrected.change), text);
        aid->setText(toQt(form.aid));
        idcd->setText(toQt(form.idcd));
        idmc->setText(toQt(form.idmc));
    } else if (corrected.result == alborx::EditResult::NoFreeId) {
        noFreeId();
    }
    if (row > 0)
        scrollToAlbumRow(row);
}

void TForm1::usunguzClick()
{
    const int bound = alborx::boundRow(albumy, binding);
    if (bound == 0)
        return;
    // The targets are fixed before anything is removed. The lists report the
    // moves of their current rows while rows go; those reports are taken
    // once the removal is over, so that they name rows of the new table.
    alborx::EditorBinding target = binding;
    target.wybranywiersz = bound;
    alborx::TableChange change = alborx::usunalbum(albumy, target);
    const QString caption =
        alborx::ui::albumCaption(alborx::rowOf(albumy.row(target.wybranywiersz)));
    ignoreListacdSelection_ = true;
    ignoreListafiltrSelection_ = true;
    makeChange(std::move(change), QStringLiteral("Usuń album ") + caption);
    ignoreListacdSelection_ = false;
    ignoreListafiltrSelection_ = false;

    // The editor shows the album that moved up into the list's current row,
    // or the new last album; with no album left it cannot correct anything.
    const int current = listacd->currentAlbumRow();
    if (albumy.liczbaalbumow() == 0)
        poprawguz->setEnabled(false);
    else if (current >= 1 && current <= albumy.liczbaalbumow())
        listacdSelectCell(current);
    else
        listacdSelectCell(std::min<int>(target.wybranywiersz, albumy.liczbaalbumow()));
}

void TForm1::nowyguzClick()
{
    nowyttensamguzClick();
    azespol->clear();
    agatunek->clearEditText();
}

void TForm1::nowyttensamguzClick()
{
    pendingCard_.reset();
    scheduleCardShow();
    aid->clear();
    aalbum->clear();
    nosnikcd->setChecked(false);
    nosnikmc->setChecked(false);
    poprawguz->setEnabled(false);
    idcd->clear();
    idmc->clear();
    kopiacd->setCurrentIndex(0);
    kopiamc->setCurrentIndex(0);
}

void TForm1::followSortedRows(const std::vector<int>& newRowOfOld)
{
    const auto moved = [&](std::int32_t row) {
        return row >= 1 && row < static_cast<std::int32_t>(newRowOfOld.size())
                   ? newRowOfOld[static_cast<std::size_t>(row)]
                   : row;
    };
    binding.wybranywiersz = moved(binding.wybranywiersz);
}

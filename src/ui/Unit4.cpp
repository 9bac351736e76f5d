#include "Unit4.h"

#include "AlbumListView.h"
#include "dialogs.h"
#include "listcolours.h"
#include "qcolours.h"
#include "windowhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

using alborx::ui::fromQColor;
using alborx::ui::toQColor;

namespace {

QWidget* sample()
{
    auto* swatch = new QWidget;
    swatch->setAutoFillBackground(true);
    return swatch;
}

void paint(QWidget* swatch, alborx::Colour colour)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    swatch->setPalette(palette);
}

void setTextColour(QLabel* label, alborx::Colour colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    label->setPalette(palette);
}

QPushButton* flatButton(const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setFlat(true);
    return button;
}

void setHint(QWidget* widget, const char* hint)
{
    alborx::ui::setHint(widget, QString::fromUtf8(hint));
}

// A spin field never stays empty: an emptied field shows the value in force
// again at once. A number typed outside the range is brought to the nearer
// end of it when the field is left, not back to the previous value.
void keepNumberInRange(QSpinBox* spin)
{
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    auto* edit = spin->findChild<QLineEdit*>();
    if (!edit)
        return;
    QObject::connect(edit, &QLineEdit::textChanged, spin, [spin, edit](const QString& text) {
        if (text.trimmed().isEmpty()) {
            edit->setText(spin->locale().toString(spin->value()));
            edit->selectAll();
        }
    });
}

} // namespace

TForm4::TForm4(alborx::TUstawienia& settings, alborx::ui::AlbumListView* listacd,
               alborx::ui::AlbumListView* listafiltr, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      settings_(settings), listacd_(listacd), listafiltr_(listafiltr)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Ustawienia programu"));
    setWindowModality(Qt::ApplicationModal);
    QFont small(QStringLiteral("Tahoma"), 8);
    setFont(small);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);

    auto* general = new QGroupBox(QStringLiteral("Ogólne ustawienia"));
    general->setObjectName(QStringLiteral("GroupBox3"));
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->setContentsMargins(6, 2, 6, 2);
    generalLayout->setSpacing(0);
    CheckBox1 =
        new QCheckBox(QStringLiteral("Dodawaj gatunki do listy przy ładowaniu bazy z pliku"));
    setHint(CheckBox1, "W czasie ładowania bazy albumów z pliku, będą sprawdzone wszystkie gatunki "
                       "i dodane do listy gatunków (może nieco zwolnić wczytywanie)");
    CheckBox3 = new QCheckBox(QStringLiteral("Automatyczny odczyt"));
    CheckBox2 = new QCheckBox(QStringLiteral("Automatyczny zapis"));
    generalLayout->addWidget(CheckBox1);
    generalLayout->addWidget(CheckBox3);
    generalLayout->addWidget(CheckBox2);
    layout->addWidget(general);

    auto* look = new QGroupBox(QStringLiteral("Wygląd tabeli"));
    look->setObjectName(QStringLiteral("GroupBox1"));
    auto* lookLayout = new QGridLayout(look);
    lookLayout->setContentsMargins(6, 2, 6, 2);
    lookLayout->setVerticalSpacing(2);
    auto* Label1 = new QLabel(QStringLiteral("Wysokość komórek:"));
    wyskom = new QSpinBox;
    wyskom->setObjectName(QStringLiteral("wyskom"));
    wyskom->setRange(6, 40);
    setHint(wyskom, "Wysokość komórek w liście albumów");
    Label1->setBuddy(wyskom);
    wyskom->setAccessibleName(Label1->text());
    zmienczcionke = flatButton("Zmień czcionkę");
    zmienczcionke->setObjectName(QStringLiteral("zmienczcionke"));
    setHint(zmienczcionke, "Kliknij aby wybrać inną czcionkę do listy albumów");
    auto* Label2 = new QLabel(QStringLiteral("Rozmiar:"));
    SpinEdit1 = new QSpinBox;
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(3, 72);
    setHint(SpinEdit1, "Rozmiar czcionki w liście albumów");
    Label2->setBuddy(SpinEdit1);
    SpinEdit1->setAccessibleName(Label2->text());
    lookLayout->addWidget(Label1, 0, 0);
    lookLayout->addWidget(wyskom, 0, 1);
    lookLayout->addWidget(Label2, 0, 2);
    lookLayout->addWidget(SpinEdit1, 0, 3);
    lookLayout->addWidget(zmienczcionke, 1, 0, 1, 4);

    kolorwybrany = new QComboBox;
    kolorwybrany->setObjectName(QStringLiteral("kolorwybrany"));
    kolorwybrany->addItems({QStringLiteral("ID"), QStringLiteral("Wykonawca"),
                            QStringLiteral("Album"), QStringLiteral("Gatunek"),
                            QStringLiteral("CD"), QStringLiteral("MC"), QStringLiteral("ID CD"),
                            QStringLiteral("ID MC")});
    kolorwybrany->setAccessibleName(QStringLiteral("Kolumna"));
    auto* Panel1 = new QFrame;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    auto* samples = new QVBoxLayout(Panel1);
    samples->setContentsMargins(1, 1, 1, 1);
    samples->setSpacing(0);
    podgladkoloru = sample();
    podgladkolorupaska = sample();
    przyktext1 = new QLabel(QStringLiteral("Przykład tekstu"));
    przyktext2 = new QLabel(QStringLiteral("Przykład tekstu"));
    for (auto [swatch, text] :
         {std::pair{podgladkoloru, przyktext1}, std::pair{podgladkolorupaska, przyktext2}}) {
        auto* inner = new QHBoxLayout(swatch);
        inner->setContentsMargins(0, 0, 0, 0);
        text->setAlignment(Qt::AlignCenter);
        inner->addWidget(text);
        samples->addWidget(swatch);
    }
    Panel1->setFixedHeight(36);
    zmienkolorguz = flatButton("Kolor tła");
    zmienkolortguz = flatButton("Kolor tekstu");
    lookLayout->addWidget(kolorwybrany, 2, 0);
    lookLayout->addWidget(Panel1, 2, 1, 1, 2);
    auto* colourButtons = new QVBoxLayout;
    colourButtons->setSpacing(0);
    colourButtons->addWidget(zmienkolorguz);
    colourButtons->addWidget(zmienkolortguz);
    lookLayout->addLayout(colourButtons, 2, 3);
    auto* Label3 = new QLabel(QStringLiteral("Wyrazistość ciemnych pasków:"));
    ciemnepaski = new QSlider(Qt::Horizontal);
    ciemnepaski->setObjectName(QStringLiteral("ciemnepaski"));
    ciemnepaski->setRange(0, 82);
    ciemnepaski->setTickPosition(QSlider::TicksBelow);
    ciemnepaski->setTickInterval(1);
    Label3->setBuddy(ciemnepaski);
    ciemnepaski->setAccessibleName(Label3->text());
    lookLayout->addWidget(Label3, 3, 0, 1, 4);
    lookLayout->addWidget(ciemnepaski, 4, 0, 1, 4);
    layout->addWidget(look);

    auto* chart = new QGroupBox(QStringLiteral("Kolory wykresu"));
    chart->setObjectName(QStringLiteral("GroupBox2"));
    auto* chartLayout = new QHBoxLayout(chart);
    chartLayout->setContentsMargins(6, 2, 6, 2);
    kolorwwybrany = new QComboBox;
    kolorwwybrany->setObjectName(QStringLiteral("kolorwwybrany"));
    kolorwwybrany->addItems({QStringLiteral("Oryginały"), QStringLiteral("Piraty"),
                             QStringLiteral("Kopie"), QStringLiteral("Z MP3")});
    kolorwwybrany->setAccessibleName(chart->title());
    podgladkoloruw = sample();
    podgladkoloruw->setFixedSize(40, 18);
    zmienkolorwguz = flatButton("Zmień");
    chartLayout->addWidget(kolorwwybrany);
    chartLayout->addWidget(podgladkoloruw);
    chartLayout->addWidget(zmienkolorwguz);
    chartLayout->addStretch();
    layout->addWidget(chart);

    Button1 = new QPushButton(QStringLiteral("OK"));
    Button1->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    setFixedSize(365, 325);

    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool on) { settings_.gatunkiprzyladowaniu = on; });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) { settings_.autozapis = on; });
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) { settings_.autoodczyt = on; });
    keepNumberInRange(wyskom);
    keepNumberInRange(SpinEdit1);
    connect(wyskom, &QSpinBox::valueChanged, this, &TForm4::wyskom1Enter);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TForm4::SpinEdit1Change);
    connect(zmienczcionke, &QPushButton::clicked, this, &TForm4::zmienczcionkeClick);
    connect(kolorwybrany, &QComboBox::currentIndexChanged, this, &TForm4::kolorwybranyClick);
    connect(zmienkolorguz, &QPushButton::clicked, this, &TForm4::zmienkolorguzClick);
    connect(zmienkolortguz, &QPushButton::clicked, this, &TForm4::zmienkolortguzClick);
    connect(ciemnepaski, &QSlider::valueChanged, this, &TForm4::ciemnepaskiChange);
    connect(kolorwwybrany, &QComboBox::currentIndexChanged, this, &TForm4::kolorwwybranyClick);
    connect(zmienkolorwguz, &QPushButton::clicked, this, &TForm4::zmienkolorwguzClick);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::open()
{
    wyskom->setValue(listacd_->rowHeight());
    SpinEdit1->setValue(listacd_->font().pointSize());
    show();
}

void TForm4::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
    alborx::ui::centreOnScreen(this);
}

void TForm4::keyPressEvent(QKeyEvent* event)
{
    // The changes are made as they are chosen, so Escape closes the dialog
    // as its only button, "OK", does.
    if (alborx::ui::escapePresses(event, Button1))
        return;
    QDialog::keyPressEvent(event);
}

void TForm4::FormShow()
{
    CheckBox1->setChecked(settings_.gatunkiprzyladowaniu);
    CheckBox2->setChecked(settings_.autozapis);
    CheckBox3->setChecked(settings_.autoodczyt);
    const QSignalBlocker quiet(ciemnepaski);
    ciemnepaski->setValue(
        alborx::isUsableStripeDarkness(settings_.wyrazistosc) ? settings_.wyrazistosc : 15);
    kolorwybranyClick();
    kolorwwybranyClick();
    showFontName();
}

void TForm4::showFontName()
{
    zmienczcionke->setText(QStringLiteral("Czcionka: ") + listacd_->font().family());
}

void TForm4::repaintLists()
{
    listacd_->viewport()->update();
    listafiltr_->viewport()->update();
}

void TForm4::wyskom1Enter()
{
    listacd_->setRowHeight(wyskom->value());
    listafiltr_->setRowHeight(listacd_->rowHeight());
}

void TForm4::SpinEdit1Change()
{
    QFont font = listacd_->font();
    font.setPointSize(SpinEdit1->value());
    listacd_->setListFont(font);
    listafiltr_->setListFont(font);
}

void TForm4::zmienczcionkeClick()
{
    QFont font = listacd_->font();
    if (alborx::ui::chooseFont(this, font)) {
        listacd_->setListFont(font);
        SpinEdit1->setValue(std::clamp(font.pointSize(), 3, 72));
    }
    listafiltr_->setListFont(listacd_->font());
    showFontName();
}

void TForm4::kolorwybranyClick()
{
    const auto c = static_cast<std::size_t>(std::max(0, kolorwybrany->currentIndex()));
    settings_.wyrazistosc = ciemnepaski->value();
    paint(podgladkoloru, settings_.kolorytla[c]);
    setTextColour(przyktext1, settings_.kolorytekstu[c]);
    setTextColour(przyktext2, settings_.kolorytekstu[c]);
    alborx::zrobkolorypaskow(settings_);
    paint(podgladkolorupaska, settings_.kolorypaskow[c]);
}

bool TForm4::chooseInto(alborx::Colour& stored)
{
    QColor colour = toQColor(stored);
    if (!alborx::ui::chooseColour(this, colour))
        return false;
    stored = fromQColor(colour);
    return true;
}

void TForm4::zmienkolorguzClick()
{
    const auto c = static_cast<std::size_t>(std::max(0, kolorwybrany->currentIndex()));
    if (!chooseInto(settings_.kolorytla[c]))
        return;
    kolorwybranyClick();
    repaintLists();
}

void TForm4::zmienkolortguzClick()
{
    const auto c = static_cast<std::size_t>(std::max(0, kolorwybrany->currentIndex()));
    if (!chooseInto(settings_.kolorytekstu[c]))
        return;
    kolorwybranyClick();
    repaintLists();
}

void TForm4::ciemnepaskiChange()
{
    kolorwybranyClick();
    repaintLists();
}

void TForm4::kolorwwybranyClick()
{
    const auto k = static_cast<std::size_t>(std::max(0, kolorwwybrany->currentIndex()));
    paint(podgladkoloruw, settings_.kolorywykresu[k]);
}

void TForm4::zmienkolorwguzClick()
{
    const auto k = static_cast<std::size_t>(std::max(0, kolorwwybrany->currentIndex()));
    if (!chooseInto(settings_.kolorywykresu[k]))
        return;
    kolorwwybranyClick();
}

void TForm4::Button1Click()
{
    hide();
    alborx::zrobkolorypaskow(settings_);
    repaintLists();
}

#include "Unit6.h"

#include "windowhelpers.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TForm6::TForm6(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                          Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Pomoc"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 6);
    tekst = new QPlainTextEdit(helpText());
    tekst->setObjectName(QStringLiteral("tekst"));
    tekst->setReadOnly(true);
    tekst->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    tekst->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tekst->setAccessibleName(windowTitle());
    QFont textFont(QStringLiteral("Tahoma"));
    textFont.setPixelSize(13);
    tekst->setFont(textFont);
    tekst->installEventFilter(this);
    layout->addWidget(tekst, 1);

    zamknij = new QPushButton(QStringLiteral("Zamknij"));
    zamknij->setObjectName(QStringLiteral("zamknij"));
    QFont buttonFont(QStringLiteral("Tahoma"));
    buttonFont.setPixelSize(12);
    zamknij->setFont(buttonFont);
    zamknij->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(zamknij);
    layout->addLayout(bottom);
    connect(zamknij, &QPushButton::clicked, this, &QDialog::hide);

    setMinimumSize(180, 200);
    resize(408, 428);
}

QString TForm6::helpText()
{
    return QStringLiteral(
        "Wskazówki:\n"
        "\n"
        "* Pola ID, ID CD oraz ID MC nie są wymagane, ponieważ są jedynie informacją dla programu "
        "na temat albumu. Po pozostawieniu tych pól pustych, automatycznie zostaną przypisane "
        "indywidualne numery.\n"
        "* Wielopłytowym albumom nadaj jeden numer ID, a w tytule napisz numer płyty.\n"
        "* Kilku albumom na jednej płycie nadaj jeden numer ID CD (i analogicznie z kasetami i ID "
        "MC)\n"
        "* W podsumowaniu ilość albumów liczona jest wg ID albumu, a NIE wg tytułów, więc dwa "
        "albumy o jednym tytule lecz różnych ID będą liczone jako dwa, a nie jako jeden.\n"
        "* Używaj spisu przefiltrowanego do wylistowania części albumów według wybranych "
        "kryteriów, np: tylko oryginalne płyty CD itd. Dodatkowo, możesz wpisać w pole \"Filtr\" "
        "zwrot, który musi znaleźć się w wylistowanych albumach.\n"
        "* Podczas wyszukiwania albumów możesz szukać tylko w wybranych kolumnach podanego zwrotu "
        "i je zamieniać. Wynik zostanie pokazany albo od razu na ekranie albo (według wyboru) "
        "wpisany do spisu przefiltrowanego.\n"
        "\n"
        "Edycja formatu pliku tekstowego.\n"
        "\n"
        "* Słowa kluczowe zamienią się podczas zapisu w konkretne dane pobrane z bazy albumów.\n"
        "* Słowa kluczowe możesz wpisać ręcznie lub kliknąć dwukrotnie na wybranym słowie na "
        "liście, po uprzednim ustawieniu kursora w żądanym miejscu.\n"
        "* Słowo kluczowe może mieścić się w \"komórce\" o ustalonej szerokości.\n"
        "  ** Znak \":\" (dwukropek) oraz liczba z zakresu 1-99, wpisane tuż po słowie "
        "kluczowym, spowoduje, że dane, które zastąpią słowo kluczowe, zostaną rozmieszczone w "
        "\"komórce\" o podanej szerokości i wyrównane do PRAWEGO marginesu.\n"
        "  ** Znak \";\" (średnik) oraz liczba z zakresu 1-99 spowoduje, że dane, które zastąpią "
        "słowo kluczowe, zostaną rozmieszczone w \"komórce\" o podanej szerokości i wyrównane do "
        "LEWEGO marginesu.\n"
        "  ** Np.: %tytul:25 spowoduje wyświetlenie tytułu albumu w polu o szerokości 25 znaków, "
        "z wyrównaniem do prawej strony.\n"
        "* Znaki \":\" i \";\" dotyczą każdego ze słów kluczowych.\n"
        "* Słowo \"\\n\" oznacza przejście kursora do następnej linijki (jak klawisz Enter)\n"
        "* Wpisanie błędnie składni słów kluczowych spowoduje wyświetlenie tych słów zamiast "
        "danych je zastępujących.\n"
        "* Guziki ze strzałkami pomiędzy oboma polami wpisu formatu służą do kopiowania całości "
        "formatu z jednego pola do drugiego.\n"
        "* Guziki z dodatkowym oznaczeniem \"c<>m\" kopiują jak powyżej, lecz dodatkowo "
        "zamieniają ze sobą słowa kluczowe dotyczące CD i MC.");
}

void TForm6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred the first time; afterwards it keeps where the user left it.
    if (!placed_) {
        placed_ = true;
        alborx::ui::centreOnScreen(this);
    }
    zamknij->setFocus();
}

bool TForm6::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the text does not press "Zamknij".
    if (watched == tekst && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

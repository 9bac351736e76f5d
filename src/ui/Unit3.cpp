#include "Unit3.h"

#include "linetemplate.h"
#include "qtext.h"
#include "textformat.h"
#include "textvalidator.h"
#include "windowhelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using alborx::ui::fromQtLossy;
using alborx::ui::toQt;

namespace {

QFont fixedPitch()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

QPlainTextEdit* preview(const char* name)
{
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setFont(fixedPitch());
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette colours = memo->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Base, QColor(219, 219, 221));
        colours.setColor(group, QPalette::Text, QColor(0, 0, 255));
    }
    memo->setPalette(colours);
    memo->setFixedHeight(48);
    return memo;
}

QToolButton* copyButton(const char* name, Qt::ArrowType arrow, bool swaps, const char* hint)
{
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    if (swaps) {
        button->setText(QStringLiteral("c<>m"));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(button->toolTip() + (swaps ? QStringLiteral(" (c<>m)") : QString()));
    return button;
}

// A template line: fixed-pitch, Windows-1250 only, 255 characters typed.
QLineEdit* templateEdit(const char* name, QLabel* label, const char* accessibleName)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFont(fixedPitch());
    alborx::ui::keepToCodePage(edit, 255);
    label->setBuddy(edit);
    edit->setAccessibleName(QString::fromUtf8(accessibleName));
    return edit;
}

void showPreview(QPlainTextEdit* memo, const QString& szablon)
{
    // The preview breaks lines with CR alone.
    QString text = toQt(alborx::podgladformatu(fromQtLossy(szablon)));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memo->setPlainText(text);
}

} // namespace

TForm3::TForm3(alborx::TUstawienia& settings, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      settings_(settings)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Format pliku tekstowego"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    TabbedNotebook1 = new QTabWidget;
    TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
    TabbedNotebook1->addTab(buildFormatPage(), QStringLiteral("Format zapisu"));
    TabbedNotebook1->addTab(buildSettingsPage(), QStringLiteral("Ustawienia"));
    layout->addWidget(TabbedNotebook1, 1);

    Button3 = new QPushButton(QStringLiteral("Zapisz plik teraz"));
    Button1 = new QPushButton(QStringLiteral("OK"));
    Button2 = new QPushButton(QStringLiteral("Anuluj"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button3);
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    layout->addLayout(bottom);

    setMinimumWidth(560);
    setFixedHeight(420);
    resize(560, 420);

    connect(Button1, &QPushButton::clicked, this, [this] {
        zastosuj();
        hide();
    });
    connect(Button2, &QPushButton::clicked, this, &QWidget::hide);
    connect(Button3, &QPushButton::clicked, this, [this] {
        zastosuj();
        emit exportRequested();
    });
}

QWidget* TForm3::buildFormatPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    QFont captionFont = font();
    captionFont.setBold(true);
    captionFont.setItalic(true);
    auto* upperHeading = new QHBoxLayout;
    auto* Label1 = new QLabel(QStringLiteral("Format linijki pliku:"));
    formtplk1naz = new QLabel(QStringLiteral("dla CD:"));
    formtplk1naz->setFont(captionFont);
    zawijanie = new QCheckBox(QStringLiteral("Zawijanie wierszy"));
    zawijanie->setObjectName(QStringLiteral("zawijanie"));
    upperHeading->addWidget(Label1);
    upperHeading->addWidget(formtplk1naz);
    upperHeading->addStretch();
    upperHeading->addWidget(zawijanie);
    layout->addLayout(upperHeading);

    formtplk1 = templateEdit("formtplk1", Label1, "Format linijki pliku dla CD");
    layout->addWidget(formtplk1);
    przy1 = preview("przy1");
    layout->addWidget(przy1);

    auto* lowerHeading = new QHBoxLayout;
    Label2 = new QLabel(QStringLiteral("Format linijki pliku:"));
    formtplk2naz = new QLabel(QStringLiteral("dla MC:"));
    formtplk2naz->setFont(captionFont);
    SpeedButton3 =
        copyButton("SpeedButton3", Qt::UpArrow, true, "Skopiuj z dolnej linijki na górną");
    SpeedButton4 =
        copyButton("SpeedButton4", Qt::DownArrow, true, "Skopiuj z górnej linijki na dolną");
    SpeedButton1 =
        copyButton("SpeedButton1", Qt::UpArrow, false, "Skopiuj z dolnej linijki na górną");
    SpeedButton2 =
        copyButton("SpeedButton2", Qt::DownArrow, false, "Skopiuj z górnej linijki na dolną");
    lowerHeading->addWidget(Label2);
    lowerHeading->addWidget(formtplk2naz);
    lowerHeading->addStretch();
    for (QToolButton* button : {SpeedButton3, SpeedButton4, SpeedButton1, SpeedButton2})
        lowerHeading->addWidget(button);
    layout->addLayout(lowerHeading);

    formtplk2 = templateEdit("formtplk2", Label2, "Format linijki pliku dla MC");
    layout->addWidget(formtplk2);
    przy2 = preview("przy2");
    layout->addWidget(przy2);

    auto* lists = new QGridLayout;
    lists->setSpacing(4);
    auto* Label3 = new QLabel(QStringLiteral("Dostępne słowa kluczowe:"));
    auto* Label4 = new QLabel(QStringLiteral("Predefiniowane ustawienia:"));
    ListView1 = new QTableWidget(static_cast<int>(alborx::keywordList().size()), 2);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHorizontalHeaderLabels({QStringLiteral("slowo"), QStringLiteral("opis")});
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(17);
    ListView1->horizontalHeader()->setStretchLastSection(true);
    ListView1->setColumnWidth(0, 80);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setToolTip(
        QStringLiteral("Kliknij dwukrotnie wybrane słowo, by wkleić je w wyznaczone miejsce."));
    ListView1->setAccessibleName(Label3->text());
    for (int r = 0; r < ListView1->rowCount(); ++r) {
        const auto& entry = alborx::keywordList()[static_cast<std::size_t>(r)];
        ListView1->setItem(r, 0, new QTableWidgetItem(toQt(entry.slowo)));
        ListView1->setItem(r, 1, new QTableWidgetItem(toQt(entry.opis)));
    }
    ListBox1 = new QListWidget;
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(Label4->text());
    for (const auto& preset : alborx::formatPresets())
        ListBox1->addItem(toQt(preset.name));
    Button6 = new QPushButton(QStringLiteral("OK"));
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setAccessibleName(QStringLiteral("Zastosuj ustawienie"));
    lists->addWidget(Label3, 0, 0);
    lists->addWidget(Label4, 0, 1);
    lists->addWidget(ListView1, 1, 0, 2, 1);
    lists->addWidget(ListBox1, 1, 1);
    lists->addWidget(Button6, 2, 1, Qt::AlignRight);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(1, 2);
    layout->addLayout(lists, 1);

    formtplk1->installEventFilter(this);
    formtplk2->installEventFilter(this);
    connect(formtplk1, &QLineEdit::textChanged, this,
            [this](const QString& text) { showPreview(przy1, text); });
    connect(formtplk2, &QLineEdit::textChanged, this,
            [this](const QString& text) { showPreview(przy2, text); });
    connect(zawijanie, &QCheckBox::toggled, this, &TForm3::zawijanieClick);
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { formtplk1->setText(formtplk2->text()); });
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { formtplk2->setText(formtplk1->text()); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] {
        formtplk1->setText(toQt(alborx::zamianacm(fromQtLossy(formtplk2->text()))));
    });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] {
        formtplk2->setText(toQt(alborx::zamianacm(fromQtLossy(formtplk1->text()))));
    });
    connect(ListView1, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            wybraneslowo = ListView1->item(row, 0)->text();
    });
    connect(ListView1, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        wybraneslowo = ListView1->item(row, 0)->text();
        ListView1DblClick();
    });
    connect(Button6, &QPushButton::clicked, this, &TForm3::Button6Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm3::Button6Click);
    return page;
}

QWidget* TForm3::buildSettingsPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    const char* kinds[] = {"Oryginał (O)", "Pirat (P)", "Kopia (K)", "Z MP3 (M)"};
    const auto group = [&](const char* title, int first, QPushButton*& all) {
        auto* box = new QGroupBox(QString::fromUtf8(title));
        auto* boxLayout = new QVBoxLayout(box);
        for (int k = 0; k < 4; ++k) {
            auto* check = new QCheckBox(QString::fromUtf8(kinds[k]));
            check->setObjectName(QStringLiteral("CheckBox%1").arg(first + k + 1));
            checkBoxes[static_cast<std::size_t>(first + k)] = check;
            boxLayout->addWidget(check);
        }
        all = new QPushButton(QStringLiteral("Wszystkie"));
        boxLayout->addWidget(all);
        connect(all, &QPushButton::clicked, this, [this, first] {
            for (int k = 0; k < 4; ++k)
                checkBoxes[static_cast<std::size_t>(first + k)]->setChecked(true);
        });
        return box;
    };
    auto* GroupBox1 = group("Wypisz z CD:", 0, Button4);
    auto* GroupBox2 = group("Wypisz z MC:", 4, Button5);
    layout->addWidget(GroupBox1, 0, 0);
    layout->addWidget(GroupBox2, 0, 1);
    checkBoxes[8] = new QCheckBox(QStringLiteral("Dołącz podsumowanie na końcu pliku"));
    checkBoxes[8]->setObjectName(QStringLiteral("CheckBox9"));
    layout->addWidget(checkBoxes[8], 1, 0, 1, 2);

    auto* order = new QGroupBox(QStringLiteral("Kolejność wypisywania:"));
    order->setObjectName(QStringLiteral("RadioGroup1"));
    auto* orderLayout = new QVBoxLayout(order);
    orderGroup_ = new QButtonGroup(this);
    const char* items[] = {"CD, MC (rozdzielone)", "MC, CD (rozdzielone)",
                           "Wymieszane (połączone)"};
    for (int i = 0; i < 3; ++i) {
        RadioGroup1[static_cast<std::size_t>(i)] = new QRadioButton(QString::fromUtf8(items[i]));
        orderGroup_->addButton(RadioGroup1[static_cast<std::size_t>(i)], i);
        orderLayout->addWidget(RadioGroup1[static_cast<std::size_t>(i)]);
    }
    layout->addWidget(order, 2, 0, 1, 2);
    checkBoxes[9] = new QCheckBox(
        QStringLiteral("Dołączaj plik do już istniejącego pliku (zamiast nadpisywać)"));
    checkBoxes[9]->setObjectName(QStringLiteral("CheckBox10"));
    layout->addWidget(checkBoxes[9], 3, 0, 1, 2);
    layout->setRowStretch(4, 1);
    connect(orderGroup_, &QButtonGroup::idClicked, this, &TForm3::RadioGroup1Click);
    return page;
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    if (alborx::ui::escapePresses(event, Button2))
        return;
    QWidget::keyPressEvent(event);
}

void TForm3::showEvent(QShowEvent* event)
{
    FormShow();
    QWidget::showEvent(event);
    alborx::ui::centreOnScreen(this);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (watched == formtplk1)
            ostatniepole = 0;
        else if (watched == formtplk2)
            ostatniepole = 1;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm3::FormShow()
{
    formtplk1->setText(toQt(settings_.formatcd));
    formtplk2->setText(toQt(settings_.formatmc));
    for (std::size_t k = 0; k < 4; ++k) {
        checkBoxes[k]->setChecked(settings_.wypiszcd[k]);
        checkBoxes[4 + k]->setChecked(settings_.wypiszmc[k]);
    }
    checkBoxes[8]->setChecked(settings_.podsumowanie);
    checkBoxes[9]->setChecked(settings_.dolaczaj);
    const int order = alborx::isUsableExportOrder(settings_.kolejnosc) ? settings_.kolejnosc : 0;
    RadioGroup1[static_cast<std::size_t>(order)]->setChecked(true);
    RadioGroup1Click();
    zawijanieClick();
}

int TForm3::kolejnosc() const
{
    return std::max(0, orderGroup_->checkedId());
}

void TForm3::zastosuj()
{
    const auto cut = [](const QString& text) {
        return fromQtLossy(text).substr(0, alborx::kSettingsStringCapacity);
    };
    settings_.formatcd = cut(formtplk1->text());
    settings_.formatmc = cut(formtplk2->text());
    for (std::size_t k = 0; k < 4; ++k) {
        settings_.wypiszcd[k] = checkBoxes[k]->isChecked();
        settings_.wypiszmc[k] = checkBoxes[4 + k]->isChecked();
    }
    settings_.podsumowanie = checkBoxes[8]->isChecked();
    settings_.dolaczaj = checkBoxes[9]->isChecked();
    settings_.kolejnosc = kolejnosc();
}

void TForm3::RadioGroup1Click()
{
    const bool mixed = kolejnosc() == 2;
    formtplk1naz->setText(mixed ? QStringLiteral("dla CD i MC:") : QStringLiteral("dla CD:"));
    formtplk2naz->setText(mixed ? QString() : QStringLiteral("dla MC:"));
    formtplk2->setEnabled(!mixed);
    przy2->setEnabled(!mixed);
    Label2->setEnabled(!mixed);
}

void TForm3::ListView1DblClick()
{
    QLineEdit* edit = ostatniepole == 0 ? formtplk1 : formtplk2;
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    QString text = edit->text();
    text.insert(caret, wybraneslowo);
    // An insertion may pass the typing limit; storing cuts it to 255.
    edit->setText(text);
    edit->setCursorPosition(caret + static_cast<int>(wybraneslowo.size()));
}

void TForm3::Button6Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || !ListBox1->currentItem()->isSelected())
        return;
    const auto& preset = alborx::formatPresets()[static_cast<std::size_t>(row)];
    formtplk1->setText(toQt(preset.formatcd));
    formtplk2->setText(toQt(preset.formatmc));
    RadioGroup1[static_cast<std::size_t>(preset.kolejnosc)]->setChecked(true);
    RadioGroup1Click();
}

void TForm3::zawijanieClick()
{
    const auto mode = zawijanie->isChecked() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap;
    przy1->setLineWrapMode(mode);
    przy2->setLineWrapMode(mode);
}

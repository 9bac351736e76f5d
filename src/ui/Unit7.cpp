#include "Unit7.h"

#include "qtext.h"
#include "textvalidator.h"
#include "windowhelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using alborx::ui::fromQtLossy;
using alborx::ui::toQt;

TForm7::TForm7(alborx::TUstawienia& settings, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      settings_(settings)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Szukaj"));
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    auto* phraseLabel = new QLabel(QStringLiteral("Szukany zwrot:"));
    szukaneslowo = new QLineEdit;
    szukaneslowo->setObjectName(QStringLiteral("szukaneslowo"));
    alborx::ui::keepToCodePage(szukaneslowo, 255);
    phraseLabel->setBuddy(szukaneslowo);
    szukaneslowo->setAccessibleName(phraseLabel->text());
    jestzamiana = new QCheckBox(QStringLiteral("Zamień na:"));
    jestzamiana->setObjectName(QStringLiteral("jestzamiana"));
    zamiennaslowo = new QLineEdit;
    zamiennaslowo->setObjectName(QStringLiteral("zamiennaslowo"));
    zamiennaslowo->setAccessibleName(jestzamiana->text());
    alborx::ui::keepToCodePage(zamiennaslowo);
    zamiennaslowo->setEnabled(false);
    pytanieozamiane = new QCheckBox(QStringLiteral("Pytaj przed zmianą"));
    pytanieozamiane->setObjectName(QStringLiteral("pytanieozamiane"));
    pytanieozamiane->setEnabled(false);

    GroupBox1 = new QGroupBox(QStringLiteral("Szukaj w:"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* columns = new QGridLayout(GroupBox1);
    const char* captions[] = {"ID", "Zespół", "Album", "Gatunek", "CD", "MC", "ID CD", "ID MC"};
    for (int c = 0; c < 8; ++c) {
        auto* box = new QCheckBox(QString::fromUtf8(captions[c]));
        box->setObjectName(QStringLiteral("s%1").arg(c));
        box->setChecked(true);
        columns->addWidget(box, c % 4, c / 4);
        s[static_cast<std::size_t>(c)] = box;
    }
    wpisywaniewfiltr = new QCheckBox(QStringLiteral("Wpisz do przefiltrowanego spisu"));
    wpisywaniewfiltr->setObjectName(QStringLiteral("wpisywaniewfiltr"));

    OK = new QPushButton(QStringLiteral("OK"));
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Anuluj = new QPushButton(QStringLiteral("Anuluj"));
    Anuluj->setObjectName(QStringLiteral("Anuluj"));
    Anuluj->setAutoDefault(false);

    layout->addWidget(phraseLabel);
    layout->addWidget(szukaneslowo);
    layout->addWidget(jestzamiana);
    layout->addWidget(zamiennaslowo);
    layout->addWidget(pytanieozamiane);
    layout->addWidget(GroupBox1);
    layout->addWidget(wpisywaniewfiltr);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Anuluj);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget::setTabOrder(szukaneslowo, jestzamiana);
    QWidget::setTabOrder(jestzamiana, zamiennaslowo);
    QWidget::setTabOrder(zamiennaslowo, s[0]);
    for (std::size_t c = 0; c + 1 < s.size(); ++c)
        QWidget::setTabOrder(s[c], s[c + 1]);
    QWidget::setTabOrder(s[7], OK);
    QWidget::setTabOrder(OK, Anuluj);
    QWidget::setTabOrder(Anuluj, pytanieozamiane);
    QWidget::setTabOrder(pytanieozamiane, wpisywaniewfiltr);

    connect(jestzamiana, &QCheckBox::toggled, this, &TForm7::jestzamianaClick);
    connect(wpisywaniewfiltr, &QCheckBox::toggled, this, &TForm7::wpisywaniewfiltrClick);
    connect(OK, &QPushButton::clicked, this, &TForm7::OKClick);
    connect(Anuluj, &QPushButton::clicked, this, &QDialog::hide);
}

void TForm7::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
    alborx::ui::centreOnScreen(this);
}

void TForm7::keyPressEvent(QKeyEvent* event)
{
    // Escape does what "Anuluj" does: closes the dialog storing nothing.
    if (alborx::ui::escapePresses(event, Anuluj))
        return;
    QDialog::keyPressEvent(event);
}

void TForm7::FormShow()
{
    szukaneslowo->setText(toQt(settings_.szukane));
    zamiennaslowo->setText(toQt(settings_.zamiana));
    jestzamiana->setChecked(settings_.zamieniaj);
    pytanieozamiane->setChecked(settings_.pytaj);
    for (std::size_t c = 0; c < s.size(); ++c)
        s[c]->setChecked(settings_.szukajw[c]);
    jestzamianaClick();
}

void TForm7::jestzamianaClick()
{
    const bool intoList = wpisywaniewfiltr->isChecked();
    jestzamiana->setEnabled(!intoList);
    zamiennaslowo->setEnabled(jestzamiana->isChecked() && !intoList);
    pytanieozamiane->setEnabled(jestzamiana->isChecked() && !intoList);
}

void TForm7::wpisywaniewfiltrClick()
{
    jestzamianaClick();
}

void TForm7::uaktualnij()
{
    const auto cut = [](const QString& text) {
        return fromQtLossy(text).substr(0, alborx::kSettingsStringCapacity);
    };
    settings_.szukane = cut(szukaneslowo->text());
    settings_.zamiana = cut(zamiennaslowo->text());
    settings_.zamieniaj = jestzamiana->isChecked();
    settings_.pytaj = pytanieozamiane->isChecked();
    for (std::size_t c = 0; c < s.size(); ++c)
        settings_.szukajw[c] = s[c]->isChecked();
}

void TForm7::OKClick()
{
    uaktualnij();
    emit searchRequested();
    hide();
}

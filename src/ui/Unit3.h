// The text format dialog: the two line templates with live previews, the
// copy kinds, order and options of the text export.
#pragma once

#include "settings.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTabWidget;
class QToolButton;

class TForm3 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm3(alborx::TUstawienia& settings, QWidget* parent = nullptr);

    void FormShow();
    void zastosuj();
    void RadioGroup1Click();
    void ListView1DblClick();
    void Button6Click();
    void zawijanieClick();
    int kolejnosc() const;

    QTabWidget* TabbedNotebook1 = nullptr;
    QLabel* formtplk1naz = nullptr;
    QLabel* formtplk2naz = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* zawijanie = nullptr;
    QLineEdit* formtplk1 = nullptr;
    QLineEdit* formtplk2 = nullptr;
    QPlainTextEdit* przy1 = nullptr;
    QPlainTextEdit* przy2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QTableWidget* ListView1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button6 = nullptr;
    std::array<QCheckBox*, 10> checkBoxes{}; // CheckBox1 .. CheckBox10
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    std::array<QRadioButton*, 3> RadioGroup1{};
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

    // Which template receives keywords from the list: 0 upper, 1 lower.
    int ostatniepole = 0;
    QString wybraneslowo;

signals:
    // "Zapisz plik teraz": the settings are stored; the main window exports.
    void exportRequested();

protected:
    void showEvent(QShowEvent* event) override;
    // Escape does what "Anuluj" does.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFormatPage();
    QWidget* buildSettingsPage();

    alborx::TUstawienia& settings_;
    QButtonGroup* orderGroup_ = nullptr;
};

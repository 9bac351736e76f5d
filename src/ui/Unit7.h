// The search and replace dialog. It stores its options in the settings
// record; the searching itself is the main window's.
#pragma once

#include "settings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TForm7 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm7(alborx::TUstawienia& settings, QWidget* parent = nullptr);

    // Copies the dialog into the settings record.
    void uaktualnij();
    void jestzamianaClick();
    void wpisywaniewfiltrClick();

    QLineEdit* szukaneslowo = nullptr;
    QCheckBox* jestzamiana = nullptr;
    QLineEdit* zamiennaslowo = nullptr;
    QCheckBox* pytanieozamiane = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    std::array<QCheckBox*, 8> s{};
    QCheckBox* wpisywaniewfiltr = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Anuluj = nullptr;

signals:
    // OK was pressed and the options stored: the main window searches.
    void searchRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void OKClick();

    alborx::TUstawienia& settings_;
};

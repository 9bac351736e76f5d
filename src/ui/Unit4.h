// The settings dialog: general options, the look of the two album lists and
// the colours of the pie chart. Every change takes effect at once.
#pragma once

#include "settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QWidget;

namespace alborx::ui {
class AlbumListView;
}

class TForm4 : public QDialog
{
    Q_OBJECT

public:
    TForm4(alborx::TUstawienia& settings, alborx::ui::AlbumListView* listacd,
           alborx::ui::AlbumListView* listafiltr, QWidget* parent = nullptr);

    // Prepares the fields from the lists and shows the dialog.
    void open();

    void wyskom1Enter();
    void SpinEdit1Change();
    void zmienczcionkeClick();
    void kolorwybranyClick();
    void zmienkolorguzClick();
    void zmienkolortguzClick();
    void ciemnepaskiChange();
    void kolorwwybranyClick();
    void zmienkolorwguzClick();
    void Button1Click();

    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QSpinBox* wyskom = nullptr;
    QPushButton* zmienczcionke = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QComboBox* kolorwybrany = nullptr;
    QWidget* podgladkoloru = nullptr;
    QWidget* podgladkolorupaska = nullptr;
    QLabel* przyktext1 = nullptr;
    QLabel* przyktext2 = nullptr;
    QPushButton* zmienkolorguz = nullptr;
    QPushButton* zmienkolortguz = nullptr;
    QSlider* ciemnepaski = nullptr;
    QComboBox* kolorwwybrany = nullptr;
    QWidget* podgladkoloruw = nullptr;
    QPushButton* zmienkolorwguz = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void repaintLists();
    // Opens the colour dialog on a stored colour; false on Cancel.
    bool chooseInto(alborx::Colour& stored);
    void showFontName();

    alborx::TUstawienia& settings_;
    alborx::ui::AlbumListView* listacd_;
    alborx::ui::AlbumListView* listafiltr_;
};

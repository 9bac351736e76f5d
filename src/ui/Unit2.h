// The about window; cut to its upper part and without a border it is also
// the splash shown while the program starts.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // Borderless and cut to 310 pixels: the picture, the name and the version.
    void showAsSplash();
    // The tool-window border with a close box and the full height.
    void makeAboutWindow();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Image1;
    QPushButton* zamknij;
};

// The help window: hints on using the catalogue and on the line template
// language. It is modeless.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TForm6 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);

    static QString helpText();

    QPlainTextEdit* tekst = nullptr;
    QPushButton* zamknij = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool placed_ = false;
};

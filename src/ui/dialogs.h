// File dialogs and message boxes go through here, so that tests can answer
// them in advance and run the real commands without waiting for a person.
#pragma once

#include "safefile.h"

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QFileDialog;
class QWidget;

namespace alborx::ui {

class DialogSeam
{
public:
    // While answering is on, no dialog or message box is shown: file dialogs
    // return the next file name (an empty name is Cancel), questions the next
    // answer, and messages are collected.
    static void setAnswering(bool on);
    static bool answering();
    static void setNextFileName(const QString& name);
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // The next colour or font dialog returns this; an invalid colour or no
    // font is Cancel.
    static void setNextColour(const QColor& colour);
    static void setNextFont(const QFont& font);
    static QStringList takeMessages();

private:
    friend bool chooseFile(QFileDialog& dialog, QString& chosen);
    friend void informacja(QWidget* parent, const QString& text, const QString& caption);
    friend QMessageBox::StandardButton pytanie(QWidget* parent, const QString& caption,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons);
    friend bool chooseColour(QWidget* parent, QColor& colour);
    friend bool chooseFont(QWidget* parent, QFont& font);
    friend bool runDialog(QDialog& dialog);
};

// Runs a dialog of the program's own; false on Cancel. While answering, the
// dialog is not shown and is confirmed as it stands unless the next answer
// is Cancel.
bool runDialog(QDialog& dialog);

// "Błąd przy zapisywaniu pliku: " with the name and, on a line of its own,
// why the file could not be written.
QString writeFailureMessage(const QString& name, WriteError reason);

// A file dialog of the program's (Qt's own, not the desktop's), for saving
// (overwriting confirmed) or opening an existing file, in the current folder.
QFileDialog* fileDialog(QWidget* parent, const char* name, const char* title, bool save,
                        const QStringList& filters, const QString& suffix);

// Runs a file dialog; returns false on Cancel.
bool chooseFile(QFileDialog& dialog, QString& chosen);

// An information box with one OK button, above every window of the program.
void informacja(QWidget* parent, const QString& text,
                const QString& caption = QStringLiteral("ALBORX!"));

// A question, with OK and Cancel buttons unless others are given, above every
// window of the program. The buttons read in Polish whatever translations
// are installed.
QMessageBox::StandardButton pytanie(QWidget* parent, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok |
                                                                           QMessageBox::Cancel);

// The colour dialog, with its custom colours shown; false on Cancel.
bool chooseColour(QWidget* parent, QColor& colour);

// The font dialog; false on Cancel.
bool chooseFont(QWidget* parent, QFont& font);

} // namespace alborx::ui

#include "dialogs.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <optional>

namespace alborx::ui {

namespace {

struct SeamState
{
    bool answering = false;
    QString nextFileName;
    QMessageBox::StandardButton nextAnswer = QMessageBox::Ok;
    QStringList messages;
    QColor nextColour;
    std::optional<QFont> nextFont;
};

SeamState& seam()
{
    static SeamState state;
    return state;
}

} // namespace

void DialogSeam::setAnswering(bool on)
{
    seam() = SeamState{};
    seam().answering = on;
}

bool DialogSeam::answering()
{
    return seam().answering;
}

void DialogSeam::setNextFileName(const QString& name)
{
    seam().nextFileName = name;
}

void DialogSeam::setNextAnswer(QMessageBox::StandardButton answer)
{
    seam().nextAnswer = answer;
}

void DialogSeam::setNextColour(const QColor& colour)
{
    seam().nextColour = colour;
}

void DialogSeam::setNextFont(const QFont& font)
{
    seam().nextFont = font;
}

QStringList DialogSeam::takeMessages()
{
    return std::exchange(seam().messages, {});
}

bool chooseFile(QFileDialog& dialog, QString& chosen)
{
    if (seam().answering) {
        chosen = std::exchange(seam().nextFileName, {});
        return !chosen.isEmpty();
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosen = dialog.selectedFiles().constFirst();
    return true;
}

void informacja(QWidget* parent, const QString& text, const QString& caption)
{
    if (seam().answering) {
        seam().messages.append(text);
        return;
    }
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

QMessageBox::StandardButton pytanie(QWidget* parent, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons)
{
    if (seam().answering) {
        seam().messages.append(text);
        return seam().nextAnswer;
    }
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "OK"},       {QMessageBox::Cancel, "Anuluj"},
        {QMessageBox::Yes, "Tak"},     {QMessageBox::No, "Nie"},
        {QMessageBox::Save, "Zapisz"}, {QMessageBox::Discard, "Nie zapisuj"}};
    for (const auto& [which, caption] : captions) {
        if (QAbstractButton* button = box.button(which))
            button->setText(QString::fromUtf8(caption));
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool chooseColour(QWidget* parent, QColor& colour)
{
    if (seam().answering) {
        const QColor chosen = std::exchange(seam().nextColour, QColor());
        if (chosen.isValid())
            colour = chosen;
        return chosen.isValid();
    }
    const QColor chosen =
        QColorDialog::getColor(colour, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return false;
    colour = chosen;
    return true;
}

bool chooseFont(QWidget* parent, QFont& font)
{
    if (seam().answering) {
        const auto chosen = std::exchange(seam().nextFont, std::nullopt);
        if (chosen)
            font = *chosen;
        return chosen.has_value();
    }
    bool accepted = false;
    const QFont chosen =
        QFontDialog::getFont(&accepted, font, parent, QString(), QFontDialog::DontUseNativeDialog);
    if (accepted)
        font = chosen;
    return accepted;
}

bool runDialog(QDialog& dialog)
{
    if (seam().answering)
        return std::exchange(seam().nextAnswer, QMessageBox::Ok) != QMessageBox::Cancel;
    return dialog.exec() == QDialog::Accepted;
}

QFileDialog* fileDialog(QWidget* parent, const char* name, const char* title, bool save,
                        const QStringList& filters, const QString& suffix)
{
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(QString::fromUtf8(title));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(suffix);
    dialog->setDirectory(QDir::currentPath());
    dialog->setSizeGripEnabled(true);
    return dialog;
}

QString writeFailureMessage(const QString& name, WriteError reason)
{
    QString why;
    switch (reason) {
    case WriteError::NotAFile:
        why = QStringLiteral("Pod tą nazwą jest coś innego niż zwykły plik.");
        break;
    case WriteError::ReadOnly:
        why = QStringLiteral("Plik jest tylko do odczytu.");
        break;
    case WriteError::CannotCreate:
        why = QStringLiteral("Nie można utworzyć pliku w tym folderze.");
        break;
    case WriteError::NoBackup:
        why = QStringLiteral("Nie można zachować poprzedniej wersji jako %1.bak; "
                             "plik pozostał bez zmian.")
                  .arg(name);
        break;
    case WriteError::CannotReplace:
        why = QStringLiteral("Nie można zastąpić poprzedniego pliku.");
        break;
    default:
        why = QStringLiteral("Zapis się nie powiódł (być może brak miejsca na dysku).");
        break;
    }
    return QStringLiteral("Błąd przy zapisywaniu pliku: ") + name + QLatin1Char('\n') + why;
}

} // namespace alborx::ui

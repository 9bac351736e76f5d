#include "dialogs.h"

#include <QFileDialog>

namespace alborx::ui {

namespace {

struct SeamState
{
    bool answering = false;
    QString nextFileName;
    QMessageBox::StandardButton nextAnswer = QMessageBox::Ok;
    QStringList messages;
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

QMessageBox::StandardButton pytanie(QWidget* parent, const QString& caption, const QString& text)
{
    if (seam().answering) {
        seam().messages.append(text);
        return seam().nextAnswer;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace alborx::ui

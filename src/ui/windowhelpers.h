// Small things every window of the program does alike.
#pragma once

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QString>
#include <QWidget>

namespace alborx::ui {

// Puts a window in the middle of the primary screen.
inline void centreOnScreen(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

// A control's hint shows as its tooltip and in the main window's status bar.
inline void setHint(QWidget* widget, const QString& hint)
{
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

// Escape closes a dialog as its button does: presses it and takes the key.
inline bool escapePresses(QKeyEvent* event, QAbstractButton* button)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    event->accept();
    button->click();
    return true;
}

} // namespace alborx::ui

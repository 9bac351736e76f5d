// The progress window: a borderless bar on top of everything that long
// operations show while they walk the albums; an import that can be stopped
// has "Anuluj" under it. While it is up the main window takes no input and
// shows the busy cursor. It is a dialog named by its title, holding a real
// progress bar, so that a screen reader follows it.
#pragma once

#include "progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QProgressBar>

class QPushButton;

// The gauge: a bar on the button face that fills with the highlight colour,
// the percentage in bold in its middle.
class ProgressGauge : public QProgressBar
{
    Q_OBJECT

public:
    using QProgressBar::QProgressBar;

    int percent() const;
    QString text() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TForm5 : public QDialog, public alborx::Progress
{
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    // Progress x 100 / maximum, cut to a whole number; 0 for maximum 0.
    int percent() const;

    // Title, progress 0, shown. An operation that can be stopped shows
    // "Anuluj" under the bar; cancelled() then tells whether it was pressed.
    void start(const QString& title, bool cancellable = false);
    bool cancelled() override { return cancelled_; }

    ProgressGauge* ProgressBar1 = nullptr;
    QPushButton* Anuluj = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Shows the progress now and then: the bar takes the position and lets
    // events in, so that it paints, "Anuluj" takes its click and a screen
    // reader reads the value.
    void redraw();
    void showPosition();

    int maximum_ = 100;
    int position_ = 0;
    QElapsedTimer sinceRedraw_;
    bool busyCursor_ = false;
    bool cancellable_ = false;
    bool cancelled_ = false;
};

// Shows the progress window for the life of a scope, so that it is hidden
// again on every path out of an operation.
class ProgressScope
{
public:
    ProgressScope(TForm5& window, const QString& title, bool cancellable = false) : window_(window)
    {
        window_.start(title, cancellable);
    }
    ~ProgressScope() { window_.hide(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    TForm5* operator->() { return &window_; }
    TForm5* get() { return &window_; }

private:
    TForm5& window_;
};

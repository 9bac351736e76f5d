// The window "MusicBrainz": finds releases in the MusicBrainz database by
// performer and title, by barcode or by the disc in the drive, and fills the
// album editor from the one chosen. It never changes the catalogue; the
// editor's Dodaj or Popraw does.
#pragma once

#include "discreading.h"
#include "musicbrainz.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace alborx::ui {

class MusicBrainzClient;

// The results table: one release a row, in the service's order.
class ReleaseTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setReleases(std::vector<musicbrainz::ReleaseSummary> releases);
    const std::vector<musicbrainz::ReleaseSummary>& releases() const { return releases_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<musicbrainz::ReleaseSummary> releases_;
};

} // namespace alborx::ui

class MusicBrainzDialog : public QDialog
{
    Q_OBJECT

public:
    // genres: the genre list a filled genre is matched against.
    MusicBrainzDialog(const alborx::GenreList& genres, QWidget* parent = nullptr);

    // Opens the window with the editor's performer and title.
    void start(const QString& performer, const QString& title);

    void SzukajClick();
    void CzytajClick();
    void WstawClick();
    // The next page of the last search.
    void NastepneClick();
    // Stops the request in flight; the window stays open.
    void AnulujClick();
    // The lookup of a disc read from a drive or known by its table of
    // contents.
    void lookUpDisc(const alborx::Disc& disc);

    alborx::ui::MusicBrainzClient* client() const { return client_; }
    // The client of the Cover Art Archive, which the covers come from.
    alborx::ui::MusicBrainzClient* coverClient() const { return covers_; }
    // A part of the main window the window is not to cover when it opens.
    void keepClearOf(QWidget* widget) { keepClear_ = widget; }

    QLineEdit* wykonawca = nullptr;
    QLineEdit* album = nullptr;
    QLineEdit* kodKreskowy = nullptr;
    QComboBox* naped = nullptr;
    QPushButton* Szukaj = nullptr;
    QPushButton* Czytaj = nullptr;
    QPushButton* Wstaw = nullptr;
    QPushButton* Nastepne = nullptr;
    QPushButton* Anuluj = nullptr;
    QPushButton* Zamknij = nullptr;
    QTableView* wyniki = nullptr;
    alborx::ui::ReleaseTableModel* wynikiModel = nullptr;
    QLabel* stan = nullptr;

signals:
    // A release to start a new album in the editor with.
    void fillEditor(const alborx::musicbrainz::EditorFill& fill);
    // The front cover of a release put into the editor, as its picture
    // file's bytes.
    void coverFetched(const std::string& releaseId, const QByteArray& picture);

public slots:
    void done(int result) override;
    // Escape stops a request in flight, and closes the window only when
    // none is.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Fits the window to the screen, beside the main window where there is
    // room, so that the editor's "Dodaj" stays in reach.
    void showEvent(QShowEvent* event) override;

private:
    enum class Asking
    {
        Nothing,
        Search,
        Disc,
        Release
    };
    void ask(Asking what, const std::string& path, const QString& status);
    // A search of the query from the offset-th release on.
    void search(const std::string& query, int offset);
    void showBusy(bool busy);
    void takeAnswer(const QByteArray& body);
    void takeFailure(const QString& message, int status);
    void showReleases(std::vector<alborx::musicbrainz::ReleaseSummary> releases, int total);
    void discUnknown();
    QString answerFault(alborx::musicbrainz::AnswerError error) const;
    void setStatus(const QString& text);

    const alborx::GenreList& genres_;
    alborx::ui::MusicBrainzClient* covers_;
    // The release whose cover is asked for, and what was said of it.
    std::string coverRelease_;
    QString inserted_;
    alborx::ui::MusicBrainzClient* client_ = nullptr;
    Asking asking_ = Asking::Nothing;
    bool readingDisc_ = false;
    // The last search, for its next page.
    std::string query_;
    int offset_ = 0;
    QPointer<QWidget> keepClear_;
};

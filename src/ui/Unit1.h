// The main window: the menu, the album editor panel, the notebook with the
// album list, the filtered list, the genre list and the summary, and the
// status bar. It owns everything that lives for the whole run: the album
// table, the settings record, the genre list and the secondary windows.
#pragma once

#include "albumcards.h"
#include "albumeditor.h"
#include "albumimport.h"
#include "albumtable.h"
#include "cataloguefile.h"
#include "genrelist.h"
#include "musicbrainz.h"
#include "printedlist.h"
#include "search.h"
#include "settings.h"
#include "tablechange.h"

#include <QMainWindow>
#include <QPageLayout>
#include <array>
#include <functional>
#include <string>
#include <utility>

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QUndoStack;
class MusicBrainzDialog;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;

namespace alborx::ui {
class AlbumListView;
class AlbumTableModel;
class CardPanel;
class PieChart;
} // namespace alborx::ui

class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The catalogue and what the program remembers between runs.
    alborx::AlbumTable albumy;
    alborx::AlbumTable przefiltrowane;
    alborx::TUstawienia ustawienia;
    // The genre list; the items of agatunek mirror it.
    alborx::GenreList gatunki;
    // The album the editor is bound to.
    alborx::EditorBinding binding;
    // The albums' cards, found by the albums' keys.
    alborx::AlbumCards karty;

    // Start-up, after the splash is up: settings, then the remembered or
    // given catalogue or a new one. arguments are the command line without
    // the program name; otworz, when given, is opened whatever automatic
    // opening says.
    void poczatek(const QStringList& arguments, const QString& otworz = {});
    // Shows the window as the settings left it (maximised or not).
    void showAtStart();

    // Catalogue commands. Names are Windows-1250 text.
    void Nowabaza1Click();
    bool otworzbaze(const std::string& name);
    void dolaczbaze(const std::string& name);
    bool zapiszbaze(const std::string& name);
    // Says once in a run that a name too long for the settings record will
    // not be remembered.
    void warnIfNotRemembered(const std::string& name);
    // False when the user cancelled or the file could not be written.
    bool zapiszbazejako();
    // Before the catalogue is put away (a new one, another opened, the
    // window closed): when it changed since it was opened or saved, asks
    // whether to save it. False keeps it: Anuluj, or a save that failed.
    bool askToSaveChanges();
    void Otwrzbaz1Click();
    void Doczbaz1Click();
    void Zapiszbaz1Click();
    void Zapiszbazjako1Click();
    void oplikClick(int entry);
    // Exchange with spreadsheets and other programs: CSV both ways, Tellico
    // collections in.
    void Eksportujdocsv1Click();
    void Importujzcsv1Click();
    void Importujztellico1Click();
    // The catalogue printed, or written as a PDF file.
    void Drukuj1Click();
    void Eksportujdopdf1Click();
    void Wyjcie1Click();

    void odswiezlistecd();
    void pokazostatnie();
    void wczytajustawienia();
    void zapiszustawienia();

    // The album editor.
    void listacdSelectCell(int row);
    void nosnikcdClick();
    void nosnikmcClick();
    void dodajguzClick();
    void poprawguzClick();
    void usunguzClick();
    void nowyguzClick();
    void nowyttensamguzClick();
    alborx::EditorForm editorForm() const;
    void showEditorForm(const alborx::EditorForm& form);

    // The genre list and its tab.
    void agatunekEnter();
    void listagatunkowClick();
    void Button1Click();
    void Button1aClick();
    void Button2Click();
    void Usu1Click();
    void Button3Click();
    void SpeedButton2Click();

    void Zawszenawierzchu1Click();
    void Szerokocikolumnspisprzefiltrowany1Click();
    void Szerokocikolumnprzefiltrowanyspis1Click();
    void listyChange();

    // The filtered list.
    bool pasujenosnik(int row) const;
    alborx::MediumFilter mediumFilter() const;
    void f_odswiezClick();
    void listafiltrSelectCell(int row);
    void SpeedButton1Click();

    // Search and replace.
    void szukaj(bool replace);
    void szukajwpisz();
    void Szukaj1Click();
    void Znajdnastpny1Click();
    void Zamienastpny1Click();

    // The window that fills the editor from the MusicBrainz database, made
    // when first opened.
    void Szukajwmusicbrainz1Click();
    void musicbrainzguzClick();
    alborx::ui::CardPanel* kartaAlbumu = nullptr;
    // The notebook's page that holds it.
    QWidget* stronaKarty = nullptr;
    MusicBrainzDialog* MusicBrainz1 = nullptr;

    // The history of changes to the catalogue ("Edycja"). A command prepares
    // its change and makes it here, as one step under a menu text. An append
    // (a join, an import) brings its albums' genres into the genre list and
    // the summary up to date; genres tells what else the step does to the
    // genre list (a genre renamed in the albums too).
    enum class StepKind
    {
        Edit,
        Append
    };
    void makeChange(alborx::TableChange change, const QString& text, StepKind kind = StepKind::Edit,
                    alborx::GenreListChange genres = {});
    // What a step did besides the table, so that a move back and forth
    // puts it right: the genre list, and the albums a move took out of the
    // filtered list with their places there (in the filtered list built
    // filterGeneration-th; one built later knows nothing of them).
    struct StepTrail
    {
        alborx::GenreListChange genres;
        int filterGeneration = 0;
        std::vector<std::pair<int, alborx::RowKey>> filteredOut;
    };
    // The album keys a step touched, with the row each has now (0 when
    // gone).
    using TouchedRows = std::vector<std::pair<alborx::RowKey, int>>;
    // A step made for the first time, taken back or done again: the table
    // changes, and every view follows from here.
    enum class StepMove
    {
        FirstRedo,
        Undo,
        Redo
    };
    void applyStep(alborx::TableChange& change, StepKind kind, StepTrail& trail, StepMove move);
    QUndoStack* historia = nullptr;
    QAction* Cofnij1 = nullptr;
    QAction* Ponow1 = nullptr;

    // The other windows, the text export and the summary.
    void Ustawieniaprogramu1Click();
    void Zapiszdoplikutekstowego1Click();
    void Formatplikutekstowego1Click();
    void Oprogramie1Click();
    void Pomoc2Click();
    void obliczwszystkoClick();

    // Controls, named as the program names them.
    QFrame* Panel1 = nullptr;
    QGroupBox* albumramka = nullptr;
    QLineEdit* aid = nullptr;
    QLineEdit* azespol = nullptr;
    QLineEdit* aalbum = nullptr;
    QComboBox* agatunek = nullptr;
    QToolButton* czid = nullptr;
    QToolButton* czzespol = nullptr;
    QToolButton* czalbum = nullptr;
    QToolButton* czgatunek = nullptr;
    QPushButton* nowyguz = nullptr;
    QPushButton* nowyttensamguz = nullptr;
    QPushButton* musicbrainzguz = nullptr;
    QGroupBox* danecdmc = nullptr;
    QCheckBox* nosnikcd = nullptr;
    QLineEdit* idcd = nullptr;
    QComboBox* kopiacd = nullptr;
    QToolButton* czidcd = nullptr;
    QCheckBox* nosnikmc = nullptr;
    QLineEdit* idmc = nullptr;
    QComboBox* kopiamc = nullptr;
    QToolButton* czidmc = nullptr;
    QPushButton* dodajguz = nullptr;
    QPushButton* poprawguz = nullptr;
    QPushButton* usunguz = nullptr;
    QListWidget* listagatunkow = nullptr;
    QLineEdit* gnazwagatunku = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1a = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QAction* Usu1 = nullptr;
    QFrame* Panelfiltr = nullptr;
    QCheckBox* f_tylkocd = nullptr;
    QCheckBox* f_tylkomc = nullptr;
    QCheckBox* f_oryg = nullptr;
    QCheckBox* f_pir = nullptr;
    QCheckBox* f_kop = nullptr;
    QCheckBox* f_mp3 = nullptr;
    QLineEdit* slowofiltr = nullptr;
    QPushButton* f_odswiez = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QLabel* f_suma = nullptr;
    alborx::ui::PieChart* Chart1 = nullptr;
    // sumsuma, sumalb, sumcd, summc, sumtesame, sumoryg, sumpir, sumkop, summp3
    std::array<QLabel*, 9> summaryFigures{};
    QToolButton* obliczwszystko = nullptr;
    QFileDialog* SaveDialog2 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabWidget* listy = nullptr;
    alborx::ui::AlbumListView* listacd = nullptr;
    alborx::ui::AlbumListView* listafiltr = nullptr;
    alborx::ui::AlbumTableModel* listacdModel = nullptr;
    alborx::ui::AlbumTableModel* listafiltrModel = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> statusPanels{};
    QStatusBar* StatusBargat = nullptr;
    std::array<QLabel*, 2> genrePanels{};
    QMenu* Ostatniepliki1 = nullptr;
    std::array<QAction*, alborx::kRecentCount> oplik{};
    QAction* Zawszenawierzchu1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QFileDialog* SaveDialogCsv = nullptr;
    QFileDialog* OpenDialogCsv = nullptr;
    QFileDialog* OpenDialogTellico = nullptr;
    QFileDialog* SaveDialogPdf = nullptr;
    // The layout and the page chosen in the print preview, which a PDF
    // export takes too.
    alborx::PrintChoices printChoices_;
    QPageLayout printLayout_;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    // The message of an open or a join that could not read its file.
    void sayWhyNotOpened(alborx::OpenStatus status, const std::string& name);
    void buildEditMenu(QMenuBar* bar);
    // The parts of applyStep: the table with the album list, the genre
    // list, the filtered list (by the albums' keys) and, for a step from the
    // menu, the editor.
    TouchedRows changeTable(alborx::TableChange& change, bool redo);
    void followChangeInGenreList(const alborx::TableChange& change, StepKind kind,
                                 alborx::GenreListChange& genres, StepMove move);
    void followChangeInFilteredList(const alborx::TableChange& change, bool redo, StepTrail& trail,
                                    const TouchedRows& touched);
    void bindEditorToStep(const TouchedRows& touched);
    void putBackIntoFilteredList(const StepTrail& trail);
    // The views after the table holds another catalogue (an open, a new
    // catalogue): lists shown anew, editor unbound, history cleared, status
    // and summary.
    void catalogueReplaced();
    void buildEditor();
    // A new album in the editor, filled from a MusicBrainz release.
    void fillFromMusicBrainz(const alborx::musicbrainz::EditorFill& fill);
    void takeFetchedCover(const std::string& releaseId, const QByteArray& picture);
    QWidget* buildGenrePage();
    QWidget* buildFilterPage();
    QWidget* buildSummaryPage();
    void buildExportDialog();
    // The filtered list anew: copies of these album rows of the catalogue.
    void showFilteredAlbums(const std::vector<int>& albumRows);
    void notFound();
    void buildPages();
    void buildStatusBar();
    void buildFileDialogs();
    void buildExchangeDialogs();
    void buildPrintDialogs();
    // Appends what an import brought as one step and says how it went;
    // skippedWords name the skipped lines ("Pominięte wiersze", "wiersz").
    void takeImport(alborx::ImportResult result, const QString& stepText,
                    const std::pair<QString, QString>& skippedWords);
    // Says that a file is over the size any import takes.
    void tooLargeToImport(const QString& name);
    // The window side of a new catalogue: title, then catalogueReplaced.
    void showNewCatalogue();
    QWidget* buildCardPage();
    // The album whose card the page shows (0 for the new album in the
    // editor), and that card.
    alborx::RowKey cardAlbumKey() const;
    alborx::CardRef cardShown() const;
    void scheduleCardShow();
    void showCardOfEditor();
    void changeCard(alborx::CardRef card);
    void sayWhatCardsOpened(const alborx::CardsOpened& opened);
    void applyStoredLayout();
    void storeLayout();
    void addOpenedGenres();
    void showHintUnderPointer();
    void scrollToAlbumRow(int row);
    void noFreeId();
    // The genre list box and the genre box are copies of the genre list.
    void refillGenreListBox();
    void refillGenreBox();
    void takeGenresFromListBox();
    void setGenreButtonsEnabled(bool enabled);
    void followSortedRows(const std::vector<int>& newRowOfOld);
    // The colours of album cells in both lists.
    std::function<void(int, int, QColor&, QColor&)> cellColours() const;

    QString lastHint_;
    // Counts the rebuilds of the filtered list.
    int filterGeneration_ = 0;
    // While Dodaj runs, the main list's selection reports are ignored.
    bool ignoreListacdSelection_ = false;
    // The card of the new album in the editor, which Dodaj adds with it.
    alborx::CardRef pendingCard_;
    bool cardShowPending_ = false;
    bool ignoreListafiltrSelection_ = false;
    alborx::Colour listFontColour_ = 0;
    bool closed_ = false;
    bool toldNotRemembered_ = false;
};

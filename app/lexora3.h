#pragma once

#include "selection/guardflags.h"
#include "selection/navigator.h"
#include "spintax/generator.h"
#include "storage/localdatabase.h"
#include "synonyms/protectedterms.h"

#include <QMainWindow>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class AppActions;
class ColorQD;
class CursorTracker;
class DocumentManager;
class FiguresUpdater;
class InsertLinkQD;
class MyMergeQD;
class QCheckBox;
class QComboBox;
class QFrame;
class QJSAutoSelect;
class QJSProtectedTerms;
class QJSReplaceEveryonesFavorite;
class QJSSaveOnClose;
class QLabel;
class QMyTextEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QSplashScreen;
class QTextCharFormat;
class QuickSpinPanel;
class RapidSpinDock;
class Search;
class UnitSpinDock;
class ServiceDialogs;
class SynonymStore;
class UpdateChannels;
class ViewManager;
struct ExportContext;

namespace tagtools {
enum class Tag;
}

// The main window. It builds the subsystem objects (documents, views, status figures, actions,
// synonym store and panel, word steps, generator), lays out their widgets, and connects them;
// each piece of state lives with the object that owns it, and the window keeps only what
// belongs to the window itself: its title, the bottom bar, the language box and the close
// sequence.
//
// Its code is split by feature:
//   lexora3.cpp           construction and wiring, start-up finish, close sequence, language box
//   lexora3_layout.cpp    bottom bar, docks, status bar
//   lexora3_edit.cpp      edit commands and the formatting tools
//   lexora3_synonyms.cpp  the synonym store's loading and the Quick Spin panel
//   lexora3_tracking.cpp  cursor tracking and word steps
//   lexora3_spin.cpp      bulk export and data merge
//   lexora3_update.cpp    the update server's start-up chain, the download row, the Updater
//   lexora3_autoselect.cpp  auto-select, identify, protected terms, the favourites exchange
class Lexora3 final : public QMainWindow
{
    Q_OBJECT

public:
    Lexora3(QSplashScreen *splash, double curVer, bool debugMode, QWidget *parent = nullptr);
    ~Lexora3() override;
    Q_DISABLE_COPY_MOVE(Lexora3)

    // Finishing step of start-up; runs once after the window is shown.
    void show2();

    // The subsystem objects (for tests and tools that drive the window).
    DocumentManager *documentManager() const { return documents; }
    ViewManager *viewManager() const { return views; }
    AppActions *appActions() const { return actions; }
    SynonymStore *synonymStore() const { return synStore; }
    QuickSpinPanel *quickSpinPanel() const { return quickSpin; }
    CursorTracker *cursorTracker() const { return tracker; }
    UnitSpinDock *sentenceSpinDock() const { return sentenceDock; }
    UnitSpinDock *paragraphSpinDock() const { return paragraphDock; }
    RapidSpinDock *rapidSpinDock() const { return rapidDock; }
    Search *searchDialog() const { return search; }
    const GuardFlags &guardFlags() const { return guards; }
    const LocalDatabase &database() const { return con; }
    // The generator the views and the export spin with.
    const spintax::Generator &spinGenerator() const { return generator; }
    // The data merge loaded last ("Load Data From File"); replaced by the next load.
    MyMergeQD *mergeDialog() const { return mergeQD; }
    // WordPress sites and posting, the site editor and the Copyscape check.
    ServiceDialogs *serviceDialogs() const { return services; }

    // The merge dialog on a chosen CSV file (what "Load Data From File" opens after asking).
    void openMergeData(const QString &csvPath);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // --- construction (lexora3.cpp, lexora3_layout.cpp)
    void splashMessage(const QString &text);
    void connectActions();
    void connectDocuments();
    void refusedFolderMessage(const QString &reason);
    void databaseFailed();
    void workWithoutDatabase(const QString &reason);
    void createBottomBar(QWidget *host);
    void createDocks();
    void createStatusBar();
    void restoreStoredChecks();
    void limitSentenceDockWidth();
    // Window title = name + " - " + title ("Untitled 2 - Rewordix v1.191").
    void setCurrentWindowTitle(const QString &name);
    void populateLangBox();
    void langChanged(int index);
    void synonymsBoxIndexChanged(int index);
    void loadMergeData();

    // --- edit commands and formatting tools (lexora3_edit.cpp)
    void cut();
    void copy();
    void paste();
    void deleteText(); // "delete" is a C++ keyword
    void undo();
    void redo();
    void wrapTag(tagtools::Tag tag);
    void brTag();
    void hyperlink();
    // Font dialog; the chosen font goes to the whole document.
    void textFont();
    void rtl();
    void ltr();
    void applyDirection(Qt::LayoutDirection direction);
    void colorSettings();
    // New level colours for the highlighter of every editor.
    void recolourEditors(const QVariantMap &colors);

    // --- synonyms (lexora3_synonyms.cpp)
    void createSynonymPanel();
    void setValidator(const QString &lang);
    void loadSynonyms();
    // The language changed after start-up: reload the synonym store of the new language.
    void reloadSynonymsForLanguage();

    // --- update server (lexora3_update.cpp)
    void createUpdateChannels();
    // The start-up chain after the window is shown: the usage upload, then the synonym load,
    // the version check and the list downloads. Without an update server it goes straight on to
    // loading the synonyms (the usage logs stay for a later upload).
    void updateServerDB();
    // A new program was downloaded: tell the user, close, hand over to the Updater.
    void dpFinished();
    void callUpdater();

    // --- cursor tracking and word steps (lexora3_tracking.cpp)
    // The dispatcher and the docks' arrows, after the status bar exists.
    void createTracking();
    void cursorChanged(int view2);
    void previousClicked();
    void nextClicked();
    // The main spin editor as the navigator sees it (always the current document's editor).
    EditorPort mainEditorPort();

    // --- auto-select, identify, protected terms, favourites (lexora3_autoselect.cpp)
    void createAutoSelect();
    void replaceAllFavorites();
    void replaceUserFavorites();
    // Underlines what could be spun in `editor` (the main editor by default), as synonymsBox says.
    void identify(QTextEdit *editor = nullptr);

    // --- spin generation (lexora3_spin.cpp)
    void generateSpun();
    ExportContext exportContext();

    // program and start-up state
    double curVer;
    bool debugMode;
    QSplashScreen *splash;
    QString title;   // "Rewordix v1.191"
    QString tempDir; // working folder with a trailing "/"
    // Stands in for a refused working folder for this session, so nothing is written there.
    std::unique_ptr<QTemporaryDir> sessionFolder;
    bool start = true; // set until show2() ran; language-box changes are ignored meanwhile
    LocalDatabase con;
    GuardFlags guards;
    // The spin generator and its state (`m_rand`, `idx`, `countSmall`) for the whole run.
    spintax::Generator generator;

    // the subsystem objects
    DocumentManager *documents = nullptr;
    ViewManager *views = nullptr;
    FiguresUpdater *figures = nullptr;
    AppActions *actions = nullptr;
    SynonymStore *synStore = nullptr;
    UpdateChannels *updates = nullptr;
    QuickSpinPanel *quickSpin = nullptr;
    ServiceDialogs *services = nullptr;
    // Sentence, paragraph and word steps on the main editor.
    Navigator navigator{guards, mainEditorPort()};
    CursorTracker *tracker = nullptr;
    UnitSpinDock *sentenceDock = nullptr;
    UnitSpinDock *paragraphDock = nullptr;
    RapidSpinDock *rapidDock = nullptr;
    Search *search = nullptr;       // "Find and Replace"
    bool synonymFileFailed = false; // shown once the loading has finished
    QString importLabel;            // the language whose thesaurus is being imported
    // The user's protected terms, read as soon as the database is open.
    ProtectedTerms protectedTerms;

    // dialogs
    ColorQD *colorSettingsQD = nullptr;
    InsertLinkQD *insertLinkQD = nullptr; // created on first use
    QJSSaveOnClose *saveOnCloseQD = nullptr;
    MyMergeQD *mergeQD = nullptr;
    QJSAutoSelect *autoSelectQD = nullptr;
    QJSProtectedTerms *protectedTermsQD = nullptr;
    QJSReplaceEveryonesFavorite *replaceAllFavQD = nullptr; // created on first use

    // widgets of the window itself
    QFrame *centralFrame = nullptr;
    QComboBox *synonymsBox = nullptr;
    QPushButton *identifyPB = nullptr;
    QCheckBox *identifyOnLoad = nullptr;
    QCheckBox *identifyOnPaste = nullptr;
    QComboBox *langBox = nullptr;
    QRadioButton *ltrRB = nullptr;
    QRadioButton *rtlRB = nullptr;
    QLabel *curposQL = nullptr;
    QLabel *noDatabaseQL = nullptr;
};

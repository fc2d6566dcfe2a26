#pragma once

#include "generator.h"
#include "storage/localdatabase.h"

#include "navigator.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QString>
#include <QTextEdit>

class ColorQD;
class DocumentManager;
class FiguresUpdater;
class InsertLinkQD;
class MyMergeQD;
struct ExportContext;
class MyTabItem;
class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QDockWidget;
class QFrame;
class QJSSaveOnClose;
class QLabel;
class QLineEdit;
class QMyAction;
class QMyTextEdit;
class QProgressBar;
class QuickSpinPanel;
class QPushButton;
class QRadioButton;
class QRegularExpressionValidator;
class QSplashScreen;
class SynonymStore;
class QStackedWidget;
class QTabWidget;
class QTextBrowser;
class QTimer;
class QToolBar;
class QToolButton;
class ViewManager;

// The main window: the hub every feature works through. It owns the documents (through
// `documents`), the view pages, the database connection, the docks, the guard flags and the
// tool dialogs for the whole run; features reach the shared state through the public fields
// below, which keep the names the rest of the code base uses.
//
// Construction is split over several files so features can be edited side by side:
//   lexora3.cpp          construction order, start-up finish, close sequence, language box
//   lexora3_actions.cpp  toolbars and menus
//   lexora3_layout.cpp   bottom bar, docks, status bar
//   lexora3_edit.cpp     cut/copy/paste/delete/undo/redo
//   lexora3_views.cpp, lexora3_spin.cpp, lexora3_synonyms.cpp, lexora3_selection.cpp,
//   lexora3_services.cpp, lexora3_update.cpp: the slots of the later features
class Lexora3 final : public QMainWindow
{
    Q_OBJECT

public:
    Lexora3(QSplashScreen *splash, double curVer, bool debugMode, QWidget *parent = nullptr);
    ~Lexora3() override;
    Q_DISABLE_COPY_MOVE(Lexora3)

    // Finishing step of start-up; runs once after the window is shown.
    void show2();
    void populateLangBox();
    void setValidator(const QString &lang);
    // Window title = name + " - " + title ("Untitled 2 - Rewordix v1.191").
    void setCurrentWindowTitle(const QString &name);
    // The editor of the view on screen: the document editor in the edit view, the flat or
    // spun editor in those views, the HTML browser in the HTML view. Never null while a
    // document is open.
    QTextEdit *currentViewEditor() const;

    // --- program and start-up state
    double curVer;
    bool debugMode;
    QSplashScreen *splash;
    QString title;   // "Rewordix v1.191"
    QString tempDir; // working folder with a trailing "/"
    QString curDir;  // folder offered by the file dialogs
    QString curLang = QStringLiteral("eng");
    bool start = true; // set until show2() ran; language-box changes are ignored meanwhile
    LocalDatabase con;
    QSettings settingsTB;

    // --- documents and views. There is always at least one document tab: closing the last
    // one opens a fresh "Untitled" document, so `item` and `textEdit` are never null once the
    // window is constructed. The four tab widgets always have the same number of tabs.
    DocumentManager *documents = nullptr;
    QTabWidget *mainTab = nullptr;
    MyTabItem *item = nullptr;
    QMyTextEdit *textEdit = nullptr;
    int curFileNum = 1;
    QStackedWidget *stackedWidget = nullptr; // 0 documents, 1 flat, 2 spun, 3 HTML
    QTabWidget *flatTab = nullptr;
    QTabWidget *spunTab = nullptr;
    QTabWidget *webTab = nullptr;
    MyTabItem *flatItem = nullptr;
    MyTabItem *spunItem = nullptr;
    MyTabItem *webItem = nullptr;
    QMyTextEdit *flatTextEdit = nullptr;
    QMyTextEdit *spunTextEdit = nullptr;
    QTextBrowser *webTextEdit = nullptr;
    int view = 1; // 1 edit, 2 flat, 3 spun, 4 HTML
    // word + start position in the spun text ("fox17") -> {source start, source end,
    // spun start, spun end}, of the spin the spun view shows
    spintax::SpunMap spunMap;
    // Switching views, the companion tabs, the spun-text links; the status bar figures.
    ViewManager *views = nullptr;
    FiguresUpdater *figures = nullptr;

    // --- spin and selection parameters
    // The spin generator and its state (`m_rand`, `idx`, `countSmall`) for the whole run.
    spintax::Generator generator;
    // The data merge loaded last ("Load Data From File"); replaced by the next load.
    MyMergeQD *mergeQD = nullptr;
    // What the export and merge dialogs need: the main editor's text and the generator.
    ExportContext exportContext();
    int countSmall = 2;
    int maxSpunPhraseWord = 1;
    int maxPhraseWord = 1;
    QRegularExpression paraRegExp{QStringLiteral("\\b\\w+\\b"),
                                  QRegularExpression::UseUnicodePropertiesOption};

    // --- guard flags: an operation that rewrites the editor clears the flags it needs and
    // sets them again on every exit; cursor tracking and the docks do nothing while clear.
    bool allowChanges = true;
    bool allowCursorChange = true;
    bool allowRapidChanges = true;
    bool allowSenChanges = true;
    bool allowParaChanges = true;
    bool updatingList = false;
    bool updatingSenList = false;
    bool updatingParaList = false;

    QTimer *t = nullptr; // rapid-spin timer, created on first use
    // Highlight formats: tex and tex2 light blue, tex3 pale lilac (all with white text).
    QTextEdit::ExtraSelection tex;
    QTextEdit::ExtraSelection tex2;
    QTextEdit::ExtraSelection tex3;
    QTextCharFormat redFormat; // format 2: red background, white text

    // --- icons of the synonym panel
    QIcon silverIcon;  // medal_silver_3: "good" favourites
    QIcon bronzeIcon;  // medal_bronze_3
    QIcon goldIcon;    // medal_gold_3
    QIcon favIcon;     // award_star_gold_3: favourite
    QIcon notFavIcon;  // award_star_silver_3: not a favourite
    QIcon userAddIcon; // user_add: the user's own synonym
    QIcon userEditIcon; // user_edit: entered by hand

    // --- add-synonym validators ("[" + script class + punctuation + "]*")
    QRegularExpression engRexp;
    QRegularExpression hebRexp;
    QRegularExpression araRexp;

    // --- tool dialogs, created by their features
    ColorQD *colorSettingsQD = nullptr;
    InsertLinkQD *insertLinkQD = nullptr; // created on first use
    QDialog *autoSelectQD = nullptr;
    QDialog *protectedTermsQD = nullptr;
    QDialog *copyScapeQD = nullptr;
    QJSSaveOnClose *saveOnCloseQD = nullptr;

    // --- bottom bar
    QComboBox *synonymsBox = nullptr;
    QPushButton *identifyPB = nullptr;
    QCheckBox *identifyOnLoad = nullptr;
    QCheckBox *identifyOnPaste = nullptr;
    QComboBox *langBox = nullptr;
    QPushButton *previousPB = nullptr;
    QPushButton *nextPB = nullptr;
    QRadioButton *ltrRB = nullptr; // the "LTR" radio; the slot ltr() keeps the plain name
    QRadioButton *rtlRB = nullptr;

    // --- docks and their (still empty) contents
    QDockWidget *quickSpinDW = nullptr;
    QDockWidget *sentenceDW = nullptr;
    QDockWidget *paragraphDW = nullptr;
    QDockWidget *rapidDW = nullptr;
    QFrame *quickSpinFrame = nullptr; // 200 wide until show2() allows 600
    QFrame *sentenceFrame = nullptr;
    QFrame *paragraphFrame = nullptr;
    QFrame *rapidFrame = nullptr;
    QLineEdit *addSynLE = nullptr; // the panel's add field

    // --- the synonym store of curLang and the Quick Spin panel (lexora3_synonyms.cpp)
    SynonymStore *synStore = nullptr;
    QuickSpinPanel *quickSpin = nullptr;
    QString curWord; // the word or group last handed to the panel

    // --- status bar
    QLabel *curposQL = nullptr;
    QLabel *spunWordsQL = nullptr;
    QLabel *totalWordsQL = nullptr;
    QLabel *sentencesQL = nullptr;
    QLabel *paragraphsQL = nullptr;
    QLabel *uniqueQL = nullptr;
    QLabel *qualityQL = nullptr;
    QWidget *downloadRow = nullptr; // hidden until a program download runs
    QLabel *downloadQL = nullptr;
    QProgressBar *downloadPB = nullptr;
    QLabel *downloadSpeedQL = nullptr;

    // --- toolbars and actions
    QToolBar *editTB = nullptr;
    QToolBar *htmlTB = nullptr;
    QToolBar *miscTB = nullptr;
    QAction *openQA = nullptr;
    QAction *newQA = nullptr;
    QAction *saveQA = nullptr;
    QAction *cutQA = nullptr;
    QAction *copyQA = nullptr;
    QAction *pasteQA = nullptr;
    QAction *deleteQA = nullptr;
    QAction *undoQA = nullptr;
    QAction *redoQA = nullptr;
    QAction *fontQA = nullptr;
    QAction *findQA = nullptr;
    QAction *replaceAllFavQA = nullptr;
    QAction *replaceUserFavQA = nullptr;
    QAction *hyperlinkQA = nullptr;
    QAction *brTagQA = nullptr;
    QToolButton *listTB = nullptr;
    QAction *ulTagQA = nullptr;
    QAction *olTagQA = nullptr;
    QAction *dlTagQA = nullptr;
    QAction *fontTagQA = nullptr;
    QAction *uTagQA = nullptr;
    QAction *iTagQA = nullptr;
    QAction *boldTagQA = nullptr;
    QAction *pTagQA = nullptr;
    QAction *editViewQA = nullptr;
    QAction *flatViewQA = nullptr;
    QAction *spunViewQA = nullptr;
    QAction *webViewQA = nullptr;
    QAction *postToWPQA = nullptr;
    QAction *addWebsiteQA = nullptr;
    QAction *autoSelectQA = nullptr;
    QAction *protectedTermQA = nullptr;
    QAction *removeOriginalWordQA = nullptr;
    QAction *copyScapeQA = nullptr;
    QAction *exportQA = nullptr;
    QAction *saveAsQA = nullptr;
    QAction *exitQA = nullptr;
    QAction *colorSettingsQA = nullptr;
    QAction *editToolbarQA = nullptr;
    QAction *htmlToolbarQA = nullptr;
    QAction *miscToolbarQA = nullptr;
    QAction *loadDataQA = nullptr;
    QList<QAction *> languageUpdateQAs; // "English" ... "Bulgarian", in languages::all() order
    QList<QMyAction *> recentFileQAs;   // the five recent-file entries of the File menu

public slots:
    void exit();
    void langChanged(int index);
    void synonymsBoxIndexChanged(int index);
    void identifyOnLoadToggled(bool checked);
    void identifyOnPasteToggled(bool checked);
    // Language Update entry `index` of languages::all() toggled: stores code + "Update".
    void languageUpdateToggled(int index, bool checked);
    void showEditToolbar(bool checked);
    void showHtmlToolbar(bool checked);
    void showMiscToolbar(bool checked);
    void loadMergeData(bool checked);

    // Plain edit commands on the editor of the current view (undo/redo: the document).
    void cut();
    void copy();
    void paste();
    void deleteText(); // "delete" is a C++ keyword
    void undo();
    void redo();

    // views and formatting (lexora3_views.cpp)
    void editViewClicked(bool checked);
    void flatViewClicked(bool checked);
    void spunViewClicked(bool checked);
    void webViewClicked(bool checked);
    void flatTabChanged(int index);
    void spunTabChanged(int index);
    void webTabChanged(int index);
    void boldTag(bool checked);
    void uTag(bool checked);
    void iTag(bool checked);
    void fontTag(bool checked);
    void pTag(bool checked);
    void brTag(bool checked);
    void ulTag(bool checked);
    void olTag(bool checked);
    void dlTag(bool checked);
    void hyperlink();
    // Font dialog; the chosen font goes to the whole document.
    void textFont();
    // Merges `font` into the word under the cursor or the selection.
    void textFont(const QFont &font);
    void mergeFormatOnWordOrSelection(const QTextCharFormat &format);
    void rtl();
    void ltr();
    void colorSettings();
    void formatChanged(const QTextCharFormat &format);
    // Fill the spun / flat view from the generator (the Boolean records the spun-text links).
    void newSpin(bool saveToMap);
    void newFlatSpin(bool saveToMap);

    // --- Features not wired yet: these slots are connected to their actions and signals and
    // do nothing until their feature lands.
    // spin generation and export (lexora3_spin.cpp)
    void generateSpun();
    void removeOriginalWord(bool checked);
    void openMergeData(const QString &csvPath); // the merge dialog on a chosen CSV file
    // synonyms (lexora3_synonyms.cpp)
    void loadSynonyms();
    void replaceAllFavorites(bool checked);
    void replaceUserFavorites(bool checked);
    void updateServerDB();
    // selection and navigation (lexora3_selection.cpp)
    void identify(bool checked);
    void autoSelect(bool checked);
    void protectedTermQAClicked(bool checked);
    void previousClicked(bool checked);
    void nextClicked(bool checked);
    void cursorChanged();
    void cursorChanged(int view2);
    void selectionChanged();
    void find(bool checked);
    void timershot();
    // services (lexora3_services.cpp)
    void postToWP(bool checked);
    void addWebsite(bool checked);
    void copyScape(bool checked);
    void loadWebsites();
    // program update (lexora3_update.cpp)
    void startUpdateChecker();

public:
    // Colour of spin nesting `level` from the colour settings (black before they exist).
    QColor getColor(int level) const;
    // Recomputes the status bar figures from the editor of the current view now.
    void calcUniqueness();
    // The editor the formatting tools write into: the editor of the view on screen; none in
    // the HTML view, whose browser shows generated HTML.
    QMyTextEdit *formattingEditor() const;

    // Hooks of the editor widget (QMyTextEdit), filled by their features.
    // F3 in an editor: find-next of the search dialog; true when the key was used.
    bool searchFindNext();
    // Mouse press in `editor`: select in the document the source of the spun word at `pos`.
    void linkSpunClick(QMyTextEdit *editor, const QPoint &pos);
    // Mouse move over a spun editor: mark the spun phrase under `pos`.
    void highlightSpunWord(QMyTextEdit *editor, const QPoint &pos);
    // The language changed after start-up: reload the synonym store for curLang.
    void reloadSynonymsForLanguage();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void splashMessage(const QString &text);
    void loadIcons();
    void buildHighlightFormats();
    void createBottomBar(QWidget *host);
    void createToolbars();
    void createDocks();
    void createStatusBar();
    void createMenus();
    void restoreStoredChecks();
    void limitSentenceDockWidth();
    void applyDirection(Qt::LayoutDirection direction);
    // New level colours for the highlighter of every editor.
    void recolourEditors(const QVariantMap &colors);

    QFrame *centralFrame = nullptr;

    // The Quick Spin panel and the store's loading signals.
    void createSynonymPanel();
    bool synonymFileFailed = false; // shown once the loading has finished
    QString importLabel;            // the language whose thesaurus is being imported

    // The main spin editor as the navigator sees it (always the current textEdit).
    EditorPort mainEditorPort();

public:
    // Sentence, paragraph and word steps on the main editor; clears allowChanges while its
    // own selections land.
    Navigator navigator{allowChanges, mainEditorPort()};
};

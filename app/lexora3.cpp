#include "lexora3.h"

#include "colorqd.h"
#include "documentmanager.h"
#include "figuresupdater.h"
#include "languages.h"
#include "mytabitem.h"
#include "qjssaveonclose.h"
#include "qmytextedit.h"
#include "viewmanager.h"

#include "storage/settingsstore.h"
#include "storage/workingfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QDockWidget>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSplashScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

Lexora3::Lexora3(QSplashScreen *splash, double curVer, bool debugMode, QWidget *parent)
    : QMainWindow(parent), curVer(curVer), debugMode(debugMode), splash(splash)
{
    if (splash)
        splash->show();
    splashMessage(QStringLiteral("Loading Components..."));

    tempDir = storage::workingFolder();

    centralFrame = new QFrame;
    title = QStringLiteral("Rewordix v") + QString::number(curVer);
    setWindowFilePath(QString());

    // Documents and the three companion pages, in view order on the stacked widget.
    stackedWidget = new QStackedWidget;
    documents = new DocumentManager(this);
    documents->createPages();

    auto *centralLayout = new QVBoxLayout(centralFrame);
    centralLayout->setContentsMargins(3, 3, 3, 3);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(stackedWidget);
    loadIcons();
    createBottomBar(centralFrame);

    colorSettingsQD = new ColorQD(this);
    connect(colorSettingsQD, &ColorQD::colorsChanged, this, &Lexora3::recolourEditors);
    buildHighlightFormats();

    splashMessage(QStringLiteral("Loading Toolbars..."));
    createToolbars();
    createDocks();

    setCentralWidget(centralFrame);
    createStatusBar();
    views = new ViewManager(this);
    figures = new FiguresUpdater(this);

    splashMessage(QStringLiteral("Loading Menus..."));
    createMenus();

    setWindowState(Qt::WindowMaximized);
    centralFrame->setFrameShape(QFrame::Panel);
    centralFrame->setFrameShadow(QFrame::Sunken);
    setContentsMargins(2, 2, 2, 2);

    restoreStoredChecks();

    splashMessage(QStringLiteral("Loading Database..."));
    if (!con.connect(tempDir))
        qWarning() << "Rewordix: starting without the local database";
    splashMessage(QStringLiteral("Done"));
    if (splash)
        splash->finish(this);

    item->getTextEdit()->document()->clearUndoRedoStacks();
    setValidator(curLang);
    curDir = storage::loadCurDir();

    installEventFilter(this);
    // 500 x 200 is the size of the normal (restored) state; resizing drops the maximised
    // state on some platforms, so it is asked for again.
    resize(500, 200);
    setWindowState(windowState() | Qt::WindowMaximized);
}

Lexora3::~Lexora3()
{
    con.shutdown();
}

void Lexora3::splashMessage(const QString &text)
{
    if (splash)
        splash->showMessage(text, Qt::AlignLeft, Qt::white);
}

void Lexora3::loadIcons()
{
    silverIcon = QIcon(QStringLiteral(":/img/medal_silver_3.png"));
    bronzeIcon = QIcon(QStringLiteral(":/img/medal_bronze_3.png"));
    goldIcon = QIcon(QStringLiteral(":/img/medal_gold_3.png"));
    favIcon = QIcon(QStringLiteral(":/img/award_star_gold_3.png"));
    notFavIcon = QIcon(QStringLiteral(":/img/award_star_silver_3.png"));
    userAddIcon = QIcon(QStringLiteral(":/img/user_add.png"));
    userEditIcon = QIcon(QStringLiteral(":/img/user_edit.png"));
}

void Lexora3::buildHighlightFormats()
{
    QTextCharFormat format1;
    format1.setBackground(QColor(12, 199, 255));
    format1.setForeground(Qt::white);
    tex.format = format1;
    tex2.format = format1;

    redFormat.setBackground(Qt::red);
    redFormat.setForeground(Qt::white);

    QTextCharFormat format3;
    format3.setBackground(QColor(223, 223, 242));
    format3.setForeground(Qt::white);
    tex3.format = format3;
}

// Language Update entries and the identify boxes take their stored state; absent keys keep
// the defaults (checked / unchecked).
void Lexora3::restoreStoredChecks()
{
    QSettings settings;
    const QList<LanguageEntry> &langs = languages::all();
    for (qsizetype i = 0; i < langs.size() && i < languageUpdateQAs.size(); ++i) {
        const QVariant stored = settings.value(storage::languageUpdateKey(langs.at(i).code));
        if (stored.isValid())
            languageUpdateQAs.at(i)->setChecked(storage::isTrue(stored));
    }
    const QVariant onLoad = settings.value(storage::keys::identifyOnLoad);
    if (onLoad.isValid())
        identifyOnLoad->setChecked(storage::isTrue(onLoad));
    const QVariant onPaste = settings.value(storage::keys::identifyOnPaste);
    if (onPaste.isValid())
        identifyOnPaste->setChecked(storage::isTrue(onPaste));
}

void Lexora3::show2()
{
    start = false;
    setCurrentWindowTitle(QStringLiteral("Untitled 1"));
    quickSpinFrame->setMaximumWidth(600);
    populateLangBox();
    item->setSaved();
    updateServerDB();
    loadWebsites();
    limitSentenceDockWidth();
    item->getTextEdit()->document()->clearUndoRedoStacks();
}

void Lexora3::setCurrentWindowTitle(const QString &name)
{
    setWindowTitle(name + QStringLiteral(" - ") + title);
}

QTextEdit *Lexora3::currentViewEditor() const
{
    switch (view) {
    case 2:
        return flatTextEdit;
    case 3:
        return spunTextEdit;
    case 4:
        return webTextEdit;
    default:
        return textEdit;
    }
}

void Lexora3::limitSentenceDockWidth()
{
    if (sentenceDW && sentenceDW->widget()) {
        const QMargins margins = contentsMargins();
        sentenceDW->widget()->setMaximumWidth(width() - margins.left() - margins.right());
    }
}

void Lexora3::populateLangBox()
{
    disconnect(langBox, &QComboBox::currentIndexChanged, this, &Lexora3::langChanged);
    langBox->clear();
    for (const LanguageEntry &l : languages::all())
        langBox->addItem(l.label);

    QSettings settings;
    if (!settings.contains(storage::keys::languageSettings)) {
        settings.setValue(storage::keys::languageSettings, storage::defaultLanguageSettings());
        langBox->setCurrentIndex(0);
    } else {
        const QVariantMap stored = settings.value(storage::keys::languageSettings).toMap();
        const QString code = stored.value(storage::langEntry).toString();
        // A code the program does not know (a damaged store) falls back to English rather
        // than naming tables and files that do not exist.
        const QString label = languages::labelForCode(code);
        curLang = label.isEmpty() ? QStringLiteral("eng") : languages::codeForLabel(label);
        if (!label.isEmpty())
            langBox->setCurrentIndex(langBox->findText(label));
        if (stored.value(storage::dirEntry).toString() == QLatin1String("rtl")) {
            rtlRB->setChecked(true);
            rtl();
        } else {
            ltrRB->setChecked(true);
            ltr();
        }
        setValidator(curLang);
    }
    connect(langBox, &QComboBox::currentIndexChanged, this, &Lexora3::langChanged);
}

void Lexora3::langChanged(int index)
{
    addSynLE->clear();
    if (start)
        return;
    const QString code = languages::codeForLabel(langBox->itemText(index));
    if (!code.isEmpty())
        curLang = code;
    setValidator(curLang);
    storage::saveLanguageSettings(curLang, !ltrRB->isChecked());
    reloadSynonymsForLanguage();
}


void Lexora3::synonymsBoxIndexChanged(int index)
{
    if (index != 2 || !textEdit)
        return;
    QTextCursor cursor(textEdit->document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat plain;
    plain.setFontUnderline(false);
    cursor.setCharFormat(plain);
}

void Lexora3::identifyOnLoadToggled(bool checked)
{
    storage::setValue(storage::keys::identifyOnLoad, checked);
}

void Lexora3::identifyOnPasteToggled(bool checked)
{
    storage::setValue(storage::keys::identifyOnPaste, checked);
}

void Lexora3::languageUpdateToggled(int index, bool checked)
{
    const QList<LanguageEntry> &langs = languages::all();
    if (index >= 0 && index < langs.size())
        storage::setValue(storage::languageUpdateKey(langs.at(index).code), checked);
}

void Lexora3::showEditToolbar(bool checked)
{
    settingsTB.setValue(storage::keys::editToolbarB, checked ? QStringLiteral("true") : QStringLiteral("false"));
    editTB->setVisible(checked);
}

void Lexora3::showHtmlToolbar(bool checked)
{
    settingsTB.setValue(storage::keys::htmlToolbarB, checked ? QStringLiteral("true") : QStringLiteral("false"));
    htmlTB->setVisible(checked);
}

void Lexora3::showMiscToolbar(bool checked)
{
    settingsTB.setValue(storage::keys::miscToolbarB, checked ? QStringLiteral("true") : QStringLiteral("false"));
    miscTB->setVisible(checked);
}

void Lexora3::loadMergeData(bool)
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open File"), curDir,
                                                      QStringLiteral("CSV (Comma delimited) (*.csv)"));
    if (!path.isEmpty())
        openMergeData(path);
}

void Lexora3::exit()
{
    close();
}

void Lexora3::closeEvent(QCloseEvent *event)
{
    if (!saveOnCloseQD)
        saveOnCloseQD = new QJSSaveOnClose(this);
    if (saveOnCloseQD->collect() > 0) {
        saveOnCloseQD->exec();
        if (!saveOnCloseQD->isDone() && !saveOnCloseQD->isDiscard()) {
            event->ignore();
            return;
        }
    }
    con.shutdown();
    event->accept();
}

void Lexora3::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (allowChanges)
        limitSentenceDockWidth();
}

bool Lexora3::eventFilter(QObject *watched, QEvent *event)
{
    return QMainWindow::eventFilter(watched, event);
}

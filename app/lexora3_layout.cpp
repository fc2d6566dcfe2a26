// The bottom bar under the views, the four docks and the status bar.

#include "lexora3.h"

#include "documentmanager.h"
#include "figuresupdater.h"

#include "selection/widgets/docks/rapidspindock.h"
#include "selection/widgets/docks/unitspindock.h"
#include "qmytextedit.h"
#include "viewmanager.h"

#include "storage/settingsstore.h"

#include "synonyms/widgets/quickspinpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace {

template <typename Widget>
Widget *named(Widget *widget, const char *name, const QString &accessibleName = {})
{
    widget->setObjectName(QString::fromLatin1(name));
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

void Lexora3::createBottomBar(QWidget *host)
{
    auto *bar = new QWidget(host);
    auto *grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 3, 0, 0);

    synonymsBox = named(new QComboBox(bar), "synonymsBox", QStringLiteral("Identify"));
    synonymsBox->addItems({QStringLiteral("Words and Phrases"), QStringLiteral("Phrases"),
                           QStringLiteral("Remove Underline")});
    identifyPB = named(new QPushButton(QStringLiteral("Identify Synonyms"), bar), "identifyPB");
    identifyOnLoad =
        named(new QCheckBox(QStringLiteral("Identify on Load"), bar), "identifyOnLoad");
    identifyOnPaste =
        named(new QCheckBox(QStringLiteral("Identify on Paste"), bar), "identifyOnPaste");
    auto *languageQL = new QLabel(QStringLiteral("Language"), bar);
    langBox = named(new QComboBox(bar), "langBox", QStringLiteral("Language"));
    languageQL->setBuddy(langBox);
    langBox->setFixedWidth(90);
    langBox->setMaxVisibleItems(15);
    auto *previousPB = named(new QPushButton(QStringLiteral("<"), bar), "previousPB",
                             QStringLiteral("Previous word"));
    auto *nextPB =
        named(new QPushButton(QStringLiteral(">"), bar), "nextPB", QStringLiteral("Next word"));
    ltrRB = named(new QRadioButton(QStringLiteral("LTR"), bar), "ltrRB");
    rtlRB = named(new QRadioButton(QStringLiteral("RTL"), bar), "rtlRB");
    ltrRB->setChecked(true);

    // The bar must fit beside the Quick Spin dock on a 1024 pixel wide screen: the two
    // "Identify on" boxes share one column, one above the other, and the word-step arrows
    // are only as wide as their arrows.
    previousPB->setFixedWidth(30);
    nextPB->setFixedWidth(30);
    QWidget *const row[] = {synonymsBox, identifyPB, nullptr, languageQL, langBox,
                            previousPB,  nextPB,     ltrRB,   rtlRB};
    for (int column = 0; column < int(std::size(row)); ++column) {
        if (row[column])
            grid->addWidget(row[column], 0, column, 2, 1, Qt::AlignVCenter);
    }
    grid->addWidget(identifyOnLoad, 0, 2);
    grid->addWidget(identifyOnPaste, 1, 2);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(int(std::size(row)), 1);
    host->layout()->addWidget(bar);

    connect(synonymsBox, &QComboBox::currentIndexChanged, this, &Lexora3::synonymsBoxIndexChanged);
    connect(identifyOnLoad, &QCheckBox::toggled, this,
            [](bool checked) { storage::setValue(storage::keys::identifyOnLoad, checked); });
    connect(identifyOnPaste, &QCheckBox::toggled, this,
            [](bool checked) { storage::setValue(storage::keys::identifyOnPaste, checked); });
    connect(previousPB, &QPushButton::clicked, this, &Lexora3::previousClicked);
    connect(nextPB, &QPushButton::clicked, this, &Lexora3::nextClicked);
    connect(ltrRB, &QRadioButton::clicked, this, &Lexora3::ltr);
    connect(rtlRB, &QRadioButton::clicked, this, &Lexora3::rtl);
    connect(langBox, &QComboBox::currentIndexChanged, this, &Lexora3::langChanged);
}

// The Quick Spin dock holds the synonym panel (createSynonymPanel, lexora3_synonyms.cpp); the
// sentence, paragraph and rapid lists fill the other three.
void Lexora3::createDocks()
{
    createSynonymPanel();

    const auto makeDock = [this](const QString &dockTitle, const char *name, QWidget *content) {
        auto *dock = named(new QDockWidget(dockTitle, this), name, dockTitle);
        dock->setWidget(content);
        return dock;
    };
    QDockWidget *quickSpinDW = makeDock(QStringLiteral("Quick Spin"), "quickSpinDW", quickSpin);
    sentenceDock = new UnitSpinDock(UnitSpinDock::Unit::Sentence, guards);
    paragraphDock = new UnitSpinDock(UnitSpinDock::Unit::Paragraph, guards);
    rapidDock = new RapidSpinDock(guards);
    QDockWidget *sentenceDW = makeDock(QStringLiteral("Sentence Spin"), "sentenceDW", sentenceDock);
    QDockWidget *paragraphDW =
        makeDock(QStringLiteral("Paragraph Spin"), "paragraphDW", paragraphDock);
    QDockWidget *rapidDW = makeDock(QStringLiteral("Rapid Spin"), "rapidDW", rapidDock);

    addDockWidget(Qt::LeftDockWidgetArea, quickSpinDW);
    addDockWidget(Qt::BottomDockWidgetArea, rapidDW);
    addDockWidget(Qt::BottomDockWidgetArea, sentenceDW);
    addDockWidget(Qt::BottomDockWidgetArea, paragraphDW);
    tabifyDockWidget(rapidDW, sentenceDW);
    tabifyDockWidget(sentenceDW, paragraphDW);
}

void Lexora3::createStatusBar()
{
    auto *row = new QWidget;
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setSpacing(8);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    row->setFixedHeight(15);
    const auto addLabel = [&](const char *name, const QString &text) {
        auto *label = named(new QLabel(text, row), name);
        rowLayout->addWidget(label);
        return label;
    };
    curposQL = addLabel("curposQL", QStringLiteral("[00000,00000]"));
    FiguresUpdater::Labels labels;
    labels.spunWordsQL = addLabel("spunWordsQL", QStringLiteral("Spun Words: 0"));
    labels.totalWordsQL = addLabel("totalWordsQL", QStringLiteral("Total Words: 0"));
    labels.sentencesQL = addLabel("sentencesQL", QStringLiteral("0 Sentence(s)"));
    labels.paragraphsQL = addLabel("paragraphsQL", QStringLiteral("0 Paragraph(s)"));
    labels.uniqueQL = addLabel("uniqueQL", QStringLiteral("0% Unique"));
    labels.qualityQL = addLabel("qualityQL", QStringLiteral("Quality: 0.00"));
    statusBar()->addWidget(row);

    labels.balanceQL = named(new QLabel, "balanceQL");
    labels.balanceQL->setStyleSheet(QStringLiteral("color: #c00000;"));
    labels.balanceQL->hide();
    statusBar()->addWidget(labels.balanceQL);

    // The program download's progress; hidden until one runs.
    auto *downloadRow = named(new QWidget, "downloadRow");
    auto *downloadLayout = new QHBoxLayout(downloadRow);
    downloadLayout->setContentsMargins(0, 0, 0, 0);
    downloadRow->setFixedHeight(15);
    auto *downloadPB =
        named(new QProgressBar(downloadRow), "downloadPB", QStringLiteral("Download progress"));
    downloadPB->setFixedSize(140, 15);
    auto *downloadSpeedQL =
        named(new QLabel(QStringLiteral("Download Speed: "), downloadRow), "downloadSpeedQL");
    downloadSpeedQL->setFixedWidth(150);
    downloadLayout->addWidget(named(
        new QLabel(QStringLiteral("Downloading the latest version: "), downloadRow), "downloadQL"));
    downloadLayout->addWidget(downloadPB);
    downloadLayout->addWidget(downloadSpeedQL);
    statusBar()->addPermanentWidget(downloadRow);
    downloadRow->hide();

    // Shown for the whole session when it runs without its database, so the notice outlives
    // the passing messages of the status bar; the reason is its tool tip.
    noDatabaseQL = named(new QLabel(QStringLiteral("Working without a database")), "noDatabaseQL");
    noDatabaseQL->setStyleSheet(QStringLiteral("color: #c00000;"));
    noDatabaseQL->hide();
    statusBar()->addPermanentWidget(noDatabaseQL);

    figures = new FiguresUpdater(
        labels,
        [this]() -> QTextEdit * {
            return documents->editor(views->current() == View::Html ? View::Edit
                                                                    : views->current());
        },
        [this]() -> QTextEdit * { return documents->editor(); }, this);
    connect(views, &ViewManager::editorsChanged, figures, &FiguresUpdater::watchCurrentView);
    connect(documents, &DocumentManager::currentDocumentChanged, figures,
            &FiguresUpdater::watchCurrentView);
}

// The bottom bar under the views, the four docks and the status bar.

#include "lexora3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QVBoxLayout>

void Lexora3::createBottomBar(QWidget *host)
{
    auto *bar = new QWidget(host);
    auto *grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 3, 0, 0);

    synonymsBox = new QComboBox(bar);
    synonymsBox->addItems({QStringLiteral("Words and Phrases"), QStringLiteral("Phrases"),
                           QStringLiteral("Remove Underline")});
    identifyPB = new QPushButton(QStringLiteral("Identify Synonyms"), bar);
    identifyOnLoad = new QCheckBox(QStringLiteral("Identify on Load"), bar);
    identifyOnPaste = new QCheckBox(QStringLiteral("Identify on Paste"), bar);
    auto *languageQL = new QLabel(QStringLiteral("Language"), bar);
    langBox = new QComboBox(bar);
    langBox->setFixedWidth(90);
    langBox->setMaxVisibleItems(15);
    previousPB = new QPushButton(QStringLiteral("<"), bar);
    nextPB = new QPushButton(QStringLiteral(">"), bar);
    ltrRB = new QRadioButton(QStringLiteral("LTR"), bar);
    rtlRB = new QRadioButton(QStringLiteral("RTL"), bar);
    ltrRB->setChecked(true);

    grid->addWidget(synonymsBox, 0, 0);
    grid->addWidget(identifyPB, 0, 1);
    grid->addWidget(identifyOnLoad, 0, 2, Qt::AlignBottom);
    grid->addWidget(identifyOnPaste, 0, 3, Qt::AlignBottom);
    grid->addWidget(languageQL, 0, 4);
    grid->addWidget(langBox, 0, 5);
    grid->addWidget(previousPB, 0, 6);
    grid->addWidget(nextPB, 0, 7);
    grid->addWidget(ltrRB, 0, 8);
    grid->addWidget(rtlRB, 0, 9);
    grid->setColumnStretch(10, 1);
    host->layout()->addWidget(bar);

    connect(synonymsBox, &QComboBox::currentIndexChanged, this, &Lexora3::synonymsBoxIndexChanged);
    connect(identifyPB, &QPushButton::clicked, this, &Lexora3::identify);
    connect(identifyOnLoad, &QCheckBox::toggled, this, &Lexora3::identifyOnLoadToggled);
    connect(identifyOnPaste, &QCheckBox::toggled, this, &Lexora3::identifyOnPasteToggled);
    connect(previousPB, &QPushButton::clicked, this, &Lexora3::previousClicked);
    connect(nextPB, &QPushButton::clicked, this, &Lexora3::nextClicked);
    connect(ltrRB, &QRadioButton::clicked, this, &Lexora3::ltr);
    connect(rtlRB, &QRadioButton::clicked, this, &Lexora3::rtl);
}

// The Quick Spin dock holds the synonym panel (createSynonymPanel, lexora3_synonyms.cpp); the
// sentence, paragraph and rapid lists fill the other three.
void Lexora3::createDocks()
{
    createSynonymPanel();

    const auto makeDock = [this](const QString &dockTitle, const QString &name, QFrame *content) {
        auto *dock = new QDockWidget(dockTitle, this);
        dock->setObjectName(name);
        dock->setWidget(content);
        return dock;
    };
    quickSpinDW = makeDock(QStringLiteral("Quick Spin"), QStringLiteral("quickSpinDW"), quickSpinFrame);
    sentenceFrame = new QFrame;
    paragraphFrame = new QFrame;
    rapidFrame = new QFrame;
    sentenceDW = makeDock(QStringLiteral("Sentence Spin"), QStringLiteral("sentenceDW"), sentenceFrame);
    paragraphDW =
        makeDock(QStringLiteral("Paragraph Spin"), QStringLiteral("paragraphDW"), paragraphFrame);
    rapidDW = makeDock(QStringLiteral("Rapid Spin"), QStringLiteral("rapidDW"), rapidFrame);

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
    const auto addLabel = [&](const QString &text) {
        auto *label = new QLabel(text, row);
        rowLayout->addWidget(label);
        return label;
    };
    curposQL = addLabel(QStringLiteral("[00000,00000]"));
    spunWordsQL = addLabel(QStringLiteral("Spun Words: 0"));
    totalWordsQL = addLabel(QStringLiteral("Total Words: 0"));
    sentencesQL = addLabel(QStringLiteral("0 Sentence(s)"));
    paragraphsQL = addLabel(QStringLiteral("0 Paragraph(s)"));
    uniqueQL = addLabel(QStringLiteral("0% Unique"));
    qualityQL = addLabel(QStringLiteral("Quality: 0.00"));
    statusBar()->addWidget(row);

    downloadRow = new QWidget;
    auto *downloadLayout = new QHBoxLayout(downloadRow);
    downloadLayout->setContentsMargins(0, 0, 0, 0);
    downloadRow->setFixedHeight(15);
    downloadQL = new QLabel(QStringLiteral("Downloading the latest version: "), downloadRow);
    downloadPB = new QProgressBar(downloadRow);
    downloadPB->setFixedSize(140, 15);
    downloadSpeedQL = new QLabel(QStringLiteral("Download Speed: "), downloadRow);
    downloadSpeedQL->setFixedWidth(150);
    downloadLayout->addWidget(downloadQL);
    downloadLayout->addWidget(downloadPB);
    downloadLayout->addWidget(downloadSpeedQL);
    statusBar()->addPermanentWidget(downloadRow);
    downloadRow->hide();
}

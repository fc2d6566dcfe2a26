// Auto-select, identify, protected terms and the favourites exchange: the dialogs are made once
// with the toolbar and read the current document's editor, the current language's lists and the
// protected terms each time they run.

#include "lexora3.h"

#include "appactions.h"
#include "documentmanager.h"
#include "qmytextedit.h"

#include "selection/favouritesexchange.h"
#include "selection/identifyformat.h"
#include "selection/widgets/editorjob.h"
#include "selection/widgets/qjsautoselect.h"
#include "selection/widgets/qjsprotectedterms.h"
#include "selection/widgets/qjsreplaceeveryonesfavorite.h"
#include "synonyms/synonymstore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace {

selection::AutoSelectSource sourceOf(DocumentManager *documents, SynonymStore *store,
                                     ProtectedTerms &terms, GuardFlags &guards)
{
    return {[documents] { return static_cast<QTextEdit *>(documents->editor()); },
            [store] { return selection::SynonymLists::of(*store); },
            [&terms] { return terms.protectedSet(); },
            [&guards](const std::function<void()> &apply) {
                const auto hold = guards.hold({GuardFlags::AllowChanges});
                apply();
            }};
}

} // namespace

void Lexora3::createAutoSelect()
{
    autoSelectQD = new QJSAutoSelect(sourceOf(documents, synStore, protectedTerms, guards), this);
    autoSelectQD->setObjectName(QStringLiteral("autoSelectQD"));
    protectedTermsQD = new QJSProtectedTerms(protectedTerms, this);
    protectedTermsQD->setObjectName(QStringLiteral("protectedTermsQD"));

    using A = AppActions;
    connect(actions->action(A::AutoSelect), &QAction::triggered, autoSelectQD, &QWidget::show);
    connect(actions->action(A::ProtectedTerm), &QAction::triggered, protectedTermsQD,
            &QJSProtectedTerms::show2);
    connect(actions->action(A::ReplaceAllFavorites), &QAction::triggered, this,
            &Lexora3::replaceAllFavorites);
    connect(actions->action(A::ReplaceUserFavorites), &QAction::triggered, this,
            &Lexora3::replaceUserFavorites);

    connect(identifyPB, &QPushButton::clicked, this, [this] { identify(); });
    // A file read into a new document is identified when the box is ticked, for English only.
    connect(documents, &DocumentManager::documentLoaded, this, [this](QMyTextEdit *editor) {
        if (identifyOnLoad->isChecked() && synStore->curLang == QLatin1String("eng"))
            identify(editor);
    });
}

void Lexora3::replaceAllFavorites()
{
    if (!replaceAllFavQD) {
        replaceAllFavQD = new QJSReplaceEveryonesFavorite(
            sourceOf(documents, synStore, protectedTerms, guards), this);
        replaceAllFavQD->setObjectName(QStringLiteral("replaceAllFavQD"));
    }
    replaceAllFavQD->show();
}

void Lexora3::replaceUserFavorites()
{
    QMyTextEdit *editor = documents->editor();
    if (!editor)
        return;
    const QString text = selection::replaceUserFavorites(editor->toPlainText(), synStore->userFav);
    const auto hold = guards.hold({GuardFlags::AllowChanges});
    selection::replaceEditorText(*editor, text, false);
}

void Lexora3::identify(QTextEdit *editor)
{
    if (!editor)
        editor = documents->editor();
    if (!editor)
        return;
    const auto hold = guards.hold({GuardFlags::AllowCursorChange, GuardFlags::AllowChanges});
    const auto mode =
        static_cast<selection::IdentifyMode>(qBound(0, synonymsBox->currentIndex(), 2));
    selection::identifyDocument(*editor->document(), selection::SynonymLists::of(*synStore), mode);
}

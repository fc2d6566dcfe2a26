// Spin generation commands: bulk export and data merge ("Remove Original Word" is with the
// views, lexora3_views.cpp).

#include "lexora3.h"

#include "spintax/widgets/gen2d.h"
#include "spintax/generatorcopysource.h"
#include "spintax/widgets/mymergeqd.h"
#include "qmytextedit.h"
#include "documentmanager.h"

ExportContext Lexora3::exportContext()
{
    return {[this] { return documents->editor() ? documents->editor()->toPlainText() : QString(); },
            [this](const QString &article) -> std::unique_ptr<spintax::CopySource> {
                return std::make_unique<spintax::GeneratorCopySource>(generator, article);
            }};
}

// The export dialog is made anew for every "&Export" and deletes itself when it closes. The
// guard flags keep cursor tracking and the docks quiet while it is built and shown; showing
// does not wait for it.
void Lexora3::generateSpun()
{
    const auto hold = guards.hold(
        {GuardFlags::AllowChanges, GuardFlags::AllowRapidChanges, GuardFlags::AllowSenChanges});
    auto *dialog = new Gen2D(exportContext(), {}, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void Lexora3::openMergeData(const QString &csvPath)
{
    // An export dialog already opened from the old data keeps its own copy of the records.
    delete mergeQD;
    mergeQD = new MyMergeQD(csvPath, exportContext(), this);
    mergeQD->show();
}

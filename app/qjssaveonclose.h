#pragma once

#include <QDialog>

class DocumentManager;
class QTableWidget;

// The save-on-close dialog: lists the modified documents and lets the user save some or all
// of them, discard them all, or cancel the close.
class QJSSaveOnClose final : public QDialog
{
    Q_OBJECT

public:
    QJSSaveOnClose(DocumentManager &documents, QWidget *parent);
    Q_DISABLE_COPY_MOVE(QJSSaveOnClose)

    // Fills the list with the modified document tabs and returns their number. With none the
    // done flag is set at once; otherwise the first row is selected.
    int collect();
    // Every listed document was saved.
    bool isDone() const { return done; }
    // "Discard All" was chosen.
    bool isDiscard() const { return discard; }
    QTableWidget *list() const { return table; }

public slots:
    void save();
    void saveAll();
    void discardAll();
    void cancel();

private:
    void saveRows(const QList<int> &rows);

    DocumentManager &documents;
    QTableWidget *table;
    bool done = false;
    bool discard = false;
};

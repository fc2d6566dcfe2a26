#pragma once

#include <QTableWidget>

class QMenu;

// The Quick Spin synonym table: five columns (category icon, star, synonym text, hidden type
// code, hidden grade code), no headers, no grid, no keyboard focus, rows 17 high. Selected rows
// look the same whether or not the table has the focus.
//
// Rows 0 and 1 are the header rows ("(blank)" and the word); every further row is a synonym row
// with a type code. A right click on a synonym row offers "Favorite" / "Unfavorite", "Learn"
// (manual rows only) and "Remove ... From Synonyms"; a left click on its star runs the favourite
// action at once. The table only remembers the row and asks: the panel carries out the edit.
class QMyTableWidget final : public QTableWidget
{
    Q_OBJECT

public:
    enum Column
    {
        CategoryColumn = 0,
        StarColumn = 1,
        TextColumn = 2,
        TypeColumn = 3,
        GradeColumn = 4
    };

    explicit QMyTableWidget(QWidget *parent = nullptr);

    // The type code of a row ("1" ... "6"), empty for the header rows.
    QString typeCode(int row) const;

    // The context menu of `row` (parented to the table, deleted when closed), or null for a row
    // without one. Building it remembers the row for favorite(), learn() and deleteSynonym().
    QMenu *contextMenuFor(int row);

    int menuRow = -1;
    QString menuText;
    QString menuType;

signals:
    void favoriteRequested(int row);
    void learnRequested(int row);
    void deleteRequested(int row);

public slots:
    // The three actions, on the remembered row.
    void favorite();
    void learn();
    void deleteSynonym();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool remember(int row);
};

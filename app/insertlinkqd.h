#pragma once

#include "htmllink.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

// "Insert Link": edits a hyperlink and types its markup into the editor at the cursor,
// replacing the selection. A selected link is read back into the fields first.
class InsertLinkQD final : public QDialog
{
    Q_OBJECT

public:
    explicit InsertLinkQD(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(InsertLinkQD)

    // Fills the fields from the editor's selection and runs the dialog modally.
    int execFor(QTextEdit *editor);
    // Fills the fields from the editor's selection without showing the dialog.
    void prepare(QTextEdit *editor);

    HtmlLink link() const;
    void setLink(const HtmlLink &link);

    QLineEdit *urlLE = nullptr;
    QLineEdit *titleLE = nullptr;
    QLineEdit *classLE = nullptr;
    QComboBox *targetCB = nullptr;
    QPushButton *insertPB = nullptr;
    QPushButton *cancelPB = nullptr;

public slots:
    // Inserts the link into the editor given to prepare() and closes the dialog.
    void insert();

private:
    QPointer<QTextEdit> editor;
    QString linkText;
};

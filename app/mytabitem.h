#pragma once

#include <QString>
#include <QWidget>

class GuardFlags;
class QMyTextEdit;
class QSyntaxHighlighter;
class QTextBrowser;

// One tab of the document page or of a companion page (flat, spun, HTML). Every tab has both
// an editor and a browser; an editor tab shows the editor, the HTML companion the browser.
class MyTabItem final : public QWidget
{
    Q_OBJECT

public:
    // fileNum: number of the "Untitled" name; textEditB: show the editor (else the browser);
    // textHighlight: the editor is a spun companion (hover marks spun phrases); guards: the
    // window's re-entry guards, held by the editor while a mouse press moves its caret.
    MyTabItem(int fileNum, GuardFlags &guards, bool textEditB, bool textHighlight,
              QWidget *parent = nullptr);
    ~MyTabItem() override;
    Q_DISABLE_COPY_MOVE(MyTabItem)

    QString getFileName() const { return fileName; }
    void setFileName(const QString &name) { fileName = name; }
    QString getCurrentFile() const { return currentFile; }
    // Sets both the path and the shown name.
    void setCurrentFile(const QString &path);
    QMyTextEdit *getTextEdit() const { return textEdit; }
    QTextBrowser *getTextBrowser() const { return textBrowser; }
    bool showsEditor() const { return textEditB; }

    // HTML shown in the browser; remembered as the text a save of this tab writes.
    void showHtml(const QString &html);
    // What saving this tab writes: the editor's plain text, or for a browser tab the HTML
    // source it shows.
    QString textForSave() const;

    bool isSaved() const;
    void setSaved();
    void undo();
    void redo();
    bool getUndoB() const { return undoB; }
    bool getRedoB() const { return redoB; }
    bool isTitleBold() const { return titleBold; }
    void setTitleBold(bool bold) { titleBold = bold; }

    // Attaches the spin-syntax highlighter to the editor's document (editor tabs only).
    void attachHighlighter();

signals:
    // The editor's history changed: whether Undo / Redo can act now.
    void undoAvailable(bool available);
    void redoAvailable(bool available);

private:
    QString fileName;
    QString currentFile;
    QString htmlSource;
    QMyTextEdit *textEdit = nullptr;
    QTextBrowser *textBrowser = nullptr;
    QSyntaxHighlighter *mh = nullptr;
    bool textEditB;
    bool undoB = false;
    bool redoB = false;
    bool titleBold = false;
};

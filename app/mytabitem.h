#pragma once

#include <QString>
#include <QWidget>

class Lexora3;
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
    // textHighlight: the editor is a spun companion (hover marks spun phrases).
    MyTabItem(int fileNum, Lexora3 *parent, bool textEditB, bool textHighlight);
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
    // Re-apply the stored availability to the window's Undo / Redo entries.
    void undoAvailable();
    void redoAvailable();
    bool getUndoB() const { return undoB; }
    bool getRedoB() const { return redoB; }
    bool isTitleBold() const { return titleBold; }
    void setTitleBold(bool bold) { titleBold = bold; }

    // Attaches the spin-syntax highlighter to the editor's document (editor tabs only).
    void attachHighlighter();

public slots:
    void undoAvailable(bool available);
    void redoAvailable(bool available);
    void textChanged() {}

private:
    QString fileName;
    QString currentFile;
    QString htmlSource;
    QMyTextEdit *textEdit = nullptr;
    QTextBrowser *textBrowser = nullptr;
    QSyntaxHighlighter *mh = nullptr;
    Lexora3 *mainWindow;
    bool textEditB;
    bool undoB = false;
    bool redoB = false;
    bool titleBold = false;
};

#pragma once

#include <QObject>
#include <QStringView>
#include <QTextOption>

class QTextEdit;

// Line breaking of an editor whose text holds a very long run of characters without white space
// («{{{…a…}}}» nested 200,000 deep, a pasted blob). The editor normally breaks lines at word
// boundaries and only then anywhere; for a run without a boundary the text layout looks for
// one through the rest of the run on every line, which makes laying out such a paragraph
// quadratic: seconds for each keystroke. While the text holds a run of `longRun` characters or
// more, the editor breaks lines anywhere instead, which lays the paragraph out in linear time;
// once no such run is left it goes back to its own mode.
//
// The check runs as the text changes, before the editor lays out the new text: only the
// changed paragraphs are read, except while breaking anywhere, when the whole text is read to
// see whether a long run is still there.
class UnbrokenRunWrap final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UnbrokenRunWrap)

public:
    static constexpr qsizetype longRun = 5000;

    // Follows `editor`'s text from now on; the editor owns the object.
    explicit UnbrokenRunWrap(QTextEdit *editor);

    // Length of the longest run of characters other than white space in `text`.
    static qsizetype longestRun(QStringView text);

private:
    void changed(int from, int removed, int added);
    bool holdsLongRun(int from, int to) const;

    QTextEdit *editor;
    QTextOption::WrapMode normalMode;
    bool anywhere = false;
};

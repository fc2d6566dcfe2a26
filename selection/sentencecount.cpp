#include "sentencecount.h"

int sentenceCount(QStringView text)
{
    int count = 0;
    bool words = false; // the current piece holds a letter or digit
    for (QChar c : text) {
        if (c == QLatin1Char('.') || c == QLatin1Char('?') || c == QLatin1Char('!') ||
            c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) {
            count += words ? 1 : 0;
            words = false;
        } else if (c.isLetterOrNumber()) {
            words = true;
        }
    }
    return count + (words ? 1 : 0);
}

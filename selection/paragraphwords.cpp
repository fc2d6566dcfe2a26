#include "paragraphwords.h"

#include <QRegularExpression>
#include <QString>

QString paragraphWords(const QString &text)
{
    // Without the Unicode option \w and \b are ASCII-only and "Café" would
    // come out as "Caf".
    static const QRegularExpression paraRegExp(QStringLiteral("\\b\\w+\\b"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    QString words;
    for (const QRegularExpressionMatch &match : paraRegExp.globalMatch(text)) {
        words += match.captured();
        words += u' ';
    }
    return words.trimmed();
}

#include "recentfiles.h"

namespace recentfiles {

QStringList menuTexts(const QStringList &list)
{
    QStringList texts;
    for (qsizetype i = 0; i < list.size() && i < shownEntries; ++i)
        texts << QString::number(i + 1) + QStringLiteral(". ") + list.at(i);
    return texts;
}

QString pathOfMenuText(const QString &text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return dot < 0 ? text : text.mid(dot + 2);
}

} // namespace recentfiles

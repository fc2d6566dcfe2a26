// The Copyscape balance answer from arbitrary bytes: the comma rule never crashes, leaves no
// comma, writes one "<br />" between every two pieces it keeps, and the rejection test accepts
// anything.
#include "services/copyscapeapi.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString answer = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString html = CopyscapeApi::balanceHtml(answer);
    if (html.contains(u','))
        std::abort();
    QStringList pieces = answer.split(u',');
    while (!pieces.isEmpty() && pieces.constLast().isEmpty())
        pieces.removeLast();
    const qsizetype breaks =
        html.count(QStringLiteral("<br />")) - answer.count(QStringLiteral("<br />"));
    if (!pieces.isEmpty() && breaks != pieces.size() - 1)
        std::abort();
    (void)CopyscapeApi::rejectsAccount(answer);
    (void)CopyscapeApi::rejectsAccount(html);
    return 0;
}

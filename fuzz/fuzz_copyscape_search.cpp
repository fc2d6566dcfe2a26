// The Copyscape check answer from arbitrary bytes: reading never crashes; a results page has
// its fixed frame and one numbered link per "result" element; an answer that is not a result
// list gets a failure text; a link target is only ever http or https.
#include "services/copyscapeapi.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> page = CopyscapeApi::resultsPage(answer);
    if (page) {
        if (!page->startsWith(QStringLiteral("<html>\n<body>\n     <b>Query Words: ")) ||
            !page->endsWith(QStringLiteral("</body>\n</html>")))
            std::abort();
        // Escaping keeps the frame's own tags the only ones outside the HTML snippets.
        if (!answer.contains("htmlsnippet") && page->contains(QStringLiteral("<script")))
            std::abort();
    } else if (CopyscapeApi::failureText(answer).isEmpty()) {
        std::abort();
    }
    const QString text = QString::fromUtf8(answer);
    if (const std::optional<QUrl> url = CopyscapeApi::linkTarget(text)) {
        const QString scheme = url->scheme().toLower();
        if (!url->isEmpty() && !scheme.isEmpty() && scheme != QLatin1String("http") &&
            scheme != QLatin1String("https"))
            std::abort();
    }
    (void)CopyscapeApi::decodeUrl(text);
    return 0;
}

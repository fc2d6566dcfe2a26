// A downloaded synonym or favourites list from arbitrary bytes: an accepted download is written
// as a version line whose number is the one reported, a line feed and a UTF-8 body, and checking
// what would be written accepts it again unchanged; a refused one writes nothing and says why.
#include "services/serveranswers.h"
#include "synonyms/synonymfiles.h"

#include <QString>
#include <QStringDecoder>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const serveranswers::ListDownload d = serveranswers::checkListDownload(bytes);
    if (!d.ok) {
        if (!d.file.isEmpty() || d.error.isEmpty())
            std::abort();
        return 0;
    }
    if (!d.error.isEmpty() || !std::isfinite(d.version) || d.file.size() > bytes.size() + 1)
        std::abort();
    const qsizetype nl = d.file.indexOf('\n');
    if (nl < 0)
        std::abort();
    const std::optional<double> version =
        SynonymFiles::parseVersionLine(QString::fromUtf8(d.file.first(nl)));
    if (!version || *version != d.version)
        std::abort();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString body = utf8.decode(QByteArrayView(d.file).sliced(nl + 1));
    if (utf8.hasError())
        std::abort();

    const serveranswers::ListDownload again = serveranswers::checkListDownload(d.file);
    if (!again.ok || again.file != d.file || again.version != d.version)
        std::abort();
    return 0;
}

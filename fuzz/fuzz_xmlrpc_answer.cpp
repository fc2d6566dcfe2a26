// The XML-RPC side of posting from arbitrary bytes. As an answer: reading never throws and a
// failure always has a text. As the text of a post: the generated call is well-formed XML and
// carries the title back unchanged (emoji included, which xmlrpc-c alone refuses), only the
// characters XML cannot hold left out and line ends read as XML reads them.
#include "services/xmlrpcposter.h"

#include <QString>
#include <QXmlStreamReader>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The text of the <string> after <name>title</name>, or no value when the XML is not
// well-formed.
std::optional<QString> sentTitle(const std::string &xml)
{
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    bool titleNext = false;
    std::optional<QString> title;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("name")) {
            titleNext = reader.readElementText() == QLatin1String("title");
        } else if (titleNext && reader.name() == QLatin1String("string")) {
            title = reader.readElementText();
            titleNext = false;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return title;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const PostOutcome outcome = XmlRpcPoster::readAnswer(bytes);
    if (!outcome.success && outcome.text.isEmpty())
        std::abort();

    PostRequest request;
    request.title = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    request.content = QStringLiteral("c");
    const std::optional<QString> title = sentTitle(XmlRpcPoster::callXml(request));
    if (!title)
        std::abort();
    QString expected;
    for (const char32_t c : request.title.toUcs4()) {
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF)
            continue;
        expected.append(QChar::fromUcs4(c)); // QString::fromUcs4 would drop a U+FEFF
    }
    // Line ends arrive as XML reads them: "\r\n" and a lone "\r" as "\n".
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expected.replace(u'\r', u'\n');
    if (*title != expected)
        std::abort();
    return 0;
}

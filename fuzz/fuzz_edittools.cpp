// The editor's text tools on arbitrary text: a selected link is parsed and written back so that
// it parses to the same fields, the tag tools wrap any selection, and the spun-text links find
// an entry inside the spun text for any position.
#include "htmllink.h"
#include "spunlinks.h"
#include "tagtools.h"

#include "spintax/generator.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t choice = data[0];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).left(8192);

    const HtmlLink link = HtmlLink::parse(text);
    const HtmlLink again = HtmlLink::parse(link.toHtml());
    if (again.url != link.url || again.title != link.title || again.cssClass != link.cssClass ||
        again.target != link.target)
        std::abort();

    QTextDocument document;
    document.setPlainText(text);
    QTextCursor cursor(&document);
    const int length = document.characterCount() - 1;
    if (length > 0) {
        cursor.setPosition(choice % (length + 1));
        cursor.setPosition((choice * 7) % (length + 1), QTextCursor::KeepAnchor);
    }
    constexpr int tags = 8;
    tagtools::wrapWordOrSelection(cursor, tagtools::Tag(choice % tags));
    tagtools::insertBreak(cursor);

    spintax::Generator generator;
    generator.setSeed(choice);
    const QString spun = generator.spinSingle(text, true, true);
    const SpunLinks links(generator.spunMap());
    for (qsizetype p = 0; p < spun.size(); p += 1 + spun.size() / 16) {
        if (const std::optional<SpunLinks::Entry> entry = links.at(spun, p)) {
            if ((*entry)[2] < 0 || (*entry)[3] > spun.size() || (*entry)[2] > (*entry)[3])
                std::abort();
        }
    }
    return 0;
}

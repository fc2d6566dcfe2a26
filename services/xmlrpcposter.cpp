#include "xmlrpcposter.h"

#include <QRegularExpression>

#include <xmlrpc-c/base.hpp>
#include <xmlrpc-c/client.hpp>
#include <xmlrpc-c/client_transport.hpp>
#include <xmlrpc-c/girerr.hpp>
#include <xmlrpc-c/xml.hpp>

#include <exception>
#include <map>
#include <vector>

namespace {

std::string utf8(const QString &s)
{
    return s.toStdString();
}

// xmlrpc-c refuses characters outside the Basic Multilingual Plane (emoji, many CJK
// ideographs), so an article holding one could never be posted. Such characters go through
// xmlrpc-c as a placeholder, U+FDD0 + number + U+FDD1 (noncharacters, which it passes
// unchanged), and are put back into the generated XML as UTF-8. U+FDD0 and U+FDD1 themselves
// take the same way, so no text is mistaken for a placeholder. Characters XML cannot hold at
// all (C0 controls other than tab, line feed and carriage return; U+FFFE, U+FFFF) are left out:
// the blog's parser would refuse the whole call.
class Placeholders
{
public:
    std::string encode(const QString &text)
    {
        QString out;
        out.reserve(text.size());
        for (const char32_t c : text.toUcs4()) {
            if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF)
                continue;
            if (c > 0xFFFF || c == open || c == close) {
                out += QChar(open) + QString::number(chars.size()) + QChar(close);
                chars.push_back(QString::fromUcs4(&c, 1).toStdString());
            } else {
                out += QChar(char16_t(c));
            }
        }
        return out.toStdString();
    }

    void restore(std::string &xml) const
    {
        if (chars.empty())
            return;
        const std::string start = QString(QChar(open)).toStdString();
        const std::string end = QString(QChar(close)).toStdString();
        std::string out;
        out.reserve(xml.size());
        size_t pos = 0;
        for (size_t at; (at = xml.find(start, pos)) != std::string::npos;) {
            const size_t stop = xml.find(end, at + start.size());
            out.append(xml, pos, at - pos);
            if (stop == std::string::npos) {
                pos = at;
                break;
            }
            const size_t index =
                std::stoul(xml.substr(at + start.size(), stop - at - start.size()));
            out += chars.at(index);
            pos = stop + end.size();
        }
        out.append(xml, pos, std::string::npos);
        xml = std::move(out);
    }

private:
    static constexpr char32_t open = 0xFDD0;
    static constexpr char32_t close = 0xFDD1;
    std::vector<std::string> chars;
};

QString fromUtf8(const std::string &s)
{
    return QString::fromStdString(s);
}

// A returned value as text. Post ids are strings or ints; anything else is shown in a compact
// form rather than refused, since the post was made. Nesting is bounded by xmlrpc-c's parser,
// and again here.
QString valueText(const xmlrpc_c::value &v, int depth = 0)
{
    if (depth > 32)
        return QStringLiteral("...");
    switch (v.type()) {
    case xmlrpc_c::value::TYPE_STRING:
        return fromUtf8(xmlrpc_c::value_string(v).cvalue());
    case xmlrpc_c::value::TYPE_INT:
        return QString::number(xmlrpc_c::value_int(v).cvalue());
    case xmlrpc_c::value::TYPE_I8:
        return QString::number(qlonglong(xmlrpc_c::value_i8(v).cvalue()));
    case xmlrpc_c::value::TYPE_BOOLEAN:
        return xmlrpc_c::value_boolean(v).cvalue() ? QStringLiteral("true")
                                                   : QStringLiteral("false");
    case xmlrpc_c::value::TYPE_DOUBLE:
        return QString::number(xmlrpc_c::value_double(v).cvalue());
    case xmlrpc_c::value::TYPE_ARRAY: {
        QStringList items;
        for (const xmlrpc_c::value &item : xmlrpc_c::value_array(v).cvalue())
            items.append(valueText(item, depth + 1));
        return u'[' + items.join(QStringLiteral(", ")) + u']';
    }
    case xmlrpc_c::value::TYPE_STRUCT: {
        QStringList members;
        for (const auto &[name, member] : xmlrpc_c::value_struct(v).cvalue())
            members.append(fromUtf8(name) + QStringLiteral(": ") + valueText(member, depth + 1));
        return u'{' + members.join(QStringLiteral(", ")) + u'}';
    }
    case xmlrpc_c::value::TYPE_NIL:
        return QString();
    default:
        return QStringLiteral("(a value of XML-RPC type %1)").arg(int(v.type()));
    }
}

} // namespace

QString XmlRpcPoster::successText(const QString &postId)
{
    return QStringLiteral("Successfully posted to Wordpress.\nPost ID: ") + postId;
}

QString XmlRpcPoster::endpoint(const QString &url)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    QString address = url.trimmed();
    if (address.endsWith(u'/'))
        address.chop(1);
    if (!scheme.match(address).hasMatch())
        address.prepend(QStringLiteral("http://"));
    if (!address.endsWith(QStringLiteral("/xmlrpc.php"), Qt::CaseInsensitive))
        address += QStringLiteral("/xmlrpc.php");
    return address;
}

std::string XmlRpcPoster::callXml(const PostRequest &request)
{
    Placeholders text;
    std::map<std::string, xmlrpc_c::value> post;
    post["title"] = xmlrpc_c::value_string(text.encode(request.title));
    post["description"] = xmlrpc_c::value_string(text.encode(request.content));
    if (!request.keywords.isEmpty() && request.keywords != QStringLiteral(","))
        post["mt_keywords"] = xmlrpc_c::value_string(text.encode(request.keywords));
    if (request.categories && !request.categories->isEmpty()) {
        std::vector<xmlrpc_c::value> names;
        for (const QString &c : *request.categories)
            names.push_back(xmlrpc_c::value_string(text.encode(c)));
        post["categories"] = xmlrpc_c::value_array(names);
    }

    xmlrpc_c::paramList params;
    params.add(xmlrpc_c::value_int(1));
    params.add(xmlrpc_c::value_string(text.encode(request.username)));
    params.add(xmlrpc_c::value_string(text.encode(request.password)));
    params.add(xmlrpc_c::value_struct(post));
    params.add(xmlrpc_c::value_boolean(true));

    std::string xml;
    xmlrpc_c::xml::generateCall("metaWeblog.newPost", params, &xml);
    text.restore(xml);
    return xml;
}

PostOutcome XmlRpcPoster::readAnswer(const std::string &responseXml)
{
    try {
        xmlrpc_c::rpcOutcome outcome;
        xmlrpc_c::xml::parseResponse(responseXml, &outcome);
        if (!outcome.succeeded()) {
            const xmlrpc_c::fault fault = outcome.getFault();
            QString text = fromUtf8(fault.getDescription());
            if (text.trimmed().isEmpty())
                text = QStringLiteral("The blog refused the post (XML-RPC fault %1).")
                           .arg(fault.getCode());
            return {false, text};
        }
        return {true, valueText(outcome.getResult())};
    } catch (const std::exception &e) {
        return {false,
                QStringLiteral("The blog's answer could not be read: ") + fromUtf8(e.what())};
    }
}

XmlRpcPoster::XmlRpcPoster(const PostRequest &request)
{
    try {
        const std::string call = callXml(request);
        xmlrpc_c::clientXmlTransport_curl transport(
            xmlrpc_c::clientXmlTransport_curl::constrOpt()
                .timeout(unsigned(qMax(1, request.timeoutMs)))
                .user_agent("Rewordix"));
        xmlrpc_c::carriageParm_curl0 carriage(utf8(endpoint(request.url)));
        std::string response;
        transport.call(&carriage, call, &response);
        result = readAnswer(response);
    } catch (const std::exception &e) {
        // girerr::error from the transport: unreachable host, timeout, HTTP status other than
        // 200. Its text names the address, never the password.
        result = {false, fromUtf8(e.what())};
    }
}

#include "platform/NetworkAddress.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QRegularExpression>

namespace kap {

namespace {

ParsedAddress malformed(const QString& text, const QString& why)
{
    return {std::nullopt, QStringLiteral("%1: %2").arg(text, why)};
}

// A host name as DNS allows it: labels of letters, digits and hyphens, not starting or
// ending with a hyphen, joined by dots.
bool isHostName(const QString& host)
{
    static const QRegularExpression label(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (host.size() > 253)
        return false;
    const QStringList labels = host.split(QLatin1Char('.'));
    for (const QString& part : labels) {
        if (!label.match(part).hasMatch())
            return false;
    }
    return true;
}

// Four dotted numbers are meant as an IPv4 address, never as a name.
bool looksDottedQuad(const QString& host)
{
    static const QRegularExpression quad(QStringLiteral("^[0-9]+(\\.[0-9]+){3}$"));
    return quad.match(host).hasMatch();
}

}  // namespace

QString NetworkAddress::text() const
{
    const QString scheme = kind == Kind::Rfc2217 ? QStringLiteral("rfc2217")
                                                 : QStringLiteral("tcp");
    const QString shownHost = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host)
                                                              : host;
    return QStringLiteral("%1://%2:%3").arg(scheme, shownHost).arg(port);
}

bool looksLikeNetworkAddress(const QString& text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(text.trimmed()).hasMatch();
}

ParsedAddress parseNetworkAddress(const QString& text)
{
    if (!looksLikeNetworkAddress(text))
        return {};
    const qsizetype schemeEnd = text.indexOf(QLatin1String("://"));
    const QString scheme = text.left(schemeEnd);
    NetworkAddress address;
    if (scheme == u"rfc2217")
        address.kind = NetworkAddress::Kind::Rfc2217;
    else if (scheme == u"tcp")
        address.kind = NetworkAddress::Kind::RawTcp;
    else
        return malformed(text,
                         QCoreApplication::translate("kap::NetworkAddress",
                                                     "unknown scheme \"%1\" (rfc2217:// or tcp://)")
                             .arg(scheme));

    QString rest = text.mid(schemeEnd + 3);
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);  // "tcp://host:4001/" as a browser would write it
    if (rest.contains(QLatin1Char('/')) || rest.contains(QLatin1Char('?'))
        || rest.contains(QLatin1Char('#')))
        return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                           "nothing may follow the port"));
    if (rest.contains(QLatin1Char('@')))
        return malformed(
            text, QCoreApplication::translate("kap::NetworkAddress", "no user name is taken"));

    QString host;
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return malformed(text,
                             QCoreApplication::translate("kap::NetworkAddress",
                                                         "IPv6 address without its closing \"]\""));
        host = rest.mid(1, close - 1);
        const QHostAddress ip(host);
        if (host.isEmpty() || ip.protocol() != QAbstractSocket::IPv6Protocol)
            return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                               "\"%1\" is no IPv6 address")
                                       .arg(host));
        const QString after = rest.mid(close + 1);
        if (!after.startsWith(QLatin1Char(':')))
            return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                               "port missing (HOST:PORT)"));
        portText = after.mid(1);
    } else {
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon < 0)
            return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                               "port missing (HOST:PORT)"));
        host = rest.left(colon);
        portText = rest.mid(colon + 1);
        if (host.isEmpty())
            return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                               "host missing (HOST:PORT)"));
        if (host.contains(QLatin1Char(':')))
            return malformed(text,
                             QCoreApplication::translate("kap::NetworkAddress",
                                                         "an IPv6 address goes in brackets: [%1]")
                                 .arg(host));
        if (looksDottedQuad(host)) {
            if (QHostAddress(host).protocol() != QAbstractSocket::IPv4Protocol)
                return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                                   "\"%1\" is no IPv4 address")
                                           .arg(host));
        } else if (!isHostName(host)) {
            return malformed(
                text, QCoreApplication::translate("kap::NetworkAddress", "\"%1\" is no host name")
                          .arg(host));
        }
    }
    if (portText.isEmpty())
        return malformed(
            text, QCoreApplication::translate("kap::NetworkAddress", "port missing (HOST:PORT)"));
    bool number = true;
    for (QChar c : portText)
        number = number && c.isDigit() && c.unicode() < 128;
    const uint port = number && portText.size() <= 5 ? portText.toUInt() : 0;
    if (!number || port < 1 || port > 65535)
        return malformed(text, QCoreApplication::translate("kap::NetworkAddress",
                                                           "port \"%1\" is not 1 to 65535")
                                   .arg(portText));
    address.host = host;
    address.port = quint16(port);
    return {address, {}};
}

}  // namespace kap

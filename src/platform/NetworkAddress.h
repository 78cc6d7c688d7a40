// Serial lines reached over the network: "rfc2217://HOST:PORT" (a serial device server that
// speaks the Telnet Com Port Control option) and "tcp://HOST:PORT" (a raw socket whose server
// its owner has set to 9600 8O1). HOST is a name, an IPv4 address or a bracketed IPv6
// address.
#pragma once

#include <QString>

#include <optional>

namespace kap {

struct NetworkAddress {
    enum class Kind { Rfc2217, RawTcp };
    Kind kind = Kind::Rfc2217;
    QString host;  // without the brackets of an IPv6 address
    quint16 port = 0;

    // The address as the user writes it, for logs and messages.
    QString text() const;
    friend bool operator==(const NetworkAddress&, const NetworkAddress&) = default;
};

struct ParsedAddress {
    std::optional<NetworkAddress> address;
    QString error;  // why text is a malformed network address; empty when it is none at all
};

// True when text starts with a scheme ("name://"), so it is meant as a network address and
// must never be taken for a file path.
bool looksLikeNetworkAddress(const QString& text);

// The address text stands for. A text that is no network address at all gives neither an
// address nor an error; a malformed one gives an error that names the wrong part.
[[nodiscard]] ParsedAddress parseNetworkAddress(const QString& text);

}  // namespace kap

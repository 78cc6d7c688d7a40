// Network port addresses: what is taken, and what a malformed one is told.
#include "platform/NetworkAddress.h"

#include <gtest/gtest.h>

using namespace kap;

TEST(NetworkAddress, TakesTheFormsAndNamesTheWrongPart)
{
    using K = NetworkAddress::Kind;
    const struct {
        const char* text;
        K kind;
        const char* host;  // null: refused
        int port;
        const char* error;  // the part of the message after "TEXT: "; null for no address at all
    } cases[] = {
        {"rfc2217://10.0.0.5:4001", K::Rfc2217, "10.0.0.5", 4001, ""},
        {"tcp://cabinet-3.plant.example:2001", K::RawTcp, "cabinet-3.plant.example", 2001, ""},
        {"tcp://[fe80::1]:65535", K::RawTcp, "fe80::1", 65535, ""},
        {"rfc2217://localhost:1/", K::Rfc2217, "localhost", 1, ""},
        {"telnet://10.0.0.5:23", K::RawTcp, nullptr, 0,
         "unknown scheme \"telnet\" (rfc2217:// or tcp://)"},
        {"RFC2217://h:1", K::RawTcp, nullptr, 0,
         "unknown scheme \"RFC2217\" (rfc2217:// or tcp://)"},
        {"rfc2217://10.0.0.5", K::Rfc2217, nullptr, 0, "port missing (HOST:PORT)"},
        {"rfc2217://10.0.0.5:", K::Rfc2217, nullptr, 0, "port missing (HOST:PORT)"},
        {"rfc2217://:4001", K::Rfc2217, nullptr, 0, "host missing (HOST:PORT)"},
        {"tcp://h:0", K::RawTcp, nullptr, 0, "port \"0\" is not 1 to 65535"},
        {"tcp://h:65536", K::RawTcp, nullptr, 0, "port \"65536\" is not 1 to 65535"},
        {"tcp://h:40x1", K::RawTcp, nullptr, 0, "port \"40x1\" is not 1 to 65535"},
        {"tcp://h:-1", K::RawTcp, nullptr, 0, "port \"-1\" is not 1 to 65535"},
        {"tcp://10.0.0.256:4001", K::RawTcp, nullptr, 0, "\"10.0.0.256\" is no IPv4 address"},
        {"tcp://bad_host:4001", K::RawTcp, nullptr, 0, "\"bad_host\" is no host name"},
        {"tcp://-a.b:4001", K::RawTcp, nullptr, 0, "\"-a.b\" is no host name"},
        {"tcp://fe80::1:4001", K::RawTcp, nullptr, 0,
         "an IPv6 address goes in brackets: [fe80::1]"},
        {"tcp://[fe80::1:4001", K::RawTcp, nullptr, 0, "IPv6 address without its closing \"]\""},
        {"tcp://[10.0.0.5]:4001", K::RawTcp, nullptr, 0, "\"10.0.0.5\" is no IPv6 address"},
        {"tcp://[fe80::1]4001", K::RawTcp, nullptr, 0, "port missing (HOST:PORT)"},
        {"tcp://h:4001/x", K::RawTcp, nullptr, 0, "nothing may follow the port"},
        {"tcp://user@h:4001", K::RawTcp, nullptr, 0, "no user name is taken"},
        // Device paths and port names are no network addresses at all.
        {"/dev/ttyUSB0", K::RawTcp, nullptr, 0, nullptr},
        {"ttyS0", K::RawTcp, nullptr, 0, nullptr},
        {"COM3", K::RawTcp, nullptr, 0, nullptr},
        {"./tcp:/h:1", K::RawTcp, nullptr, 0, nullptr},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const ParsedAddress parsed = parseNetworkAddress(text);
        EXPECT_EQ(looksLikeNetworkAddress(text), c.error != nullptr) << c.text;
        if (c.host) {
            ASSERT_TRUE(parsed.address) << c.text << ": " << parsed.error.toStdString();
            EXPECT_EQ(parsed.address->kind, c.kind) << c.text;
            EXPECT_EQ(parsed.address->host.toStdString(), c.host) << c.text;
            EXPECT_EQ(parsed.address->port, c.port) << c.text;
            // What logs show reads back as the same address.
            EXPECT_EQ(parseNetworkAddress(parsed.address->text()).address, parsed.address)
                << c.text;
        } else {
            EXPECT_FALSE(parsed.address) << c.text;
            const std::string expected = c.error ? std::string(c.text) + ": " + c.error : "";
            EXPECT_EQ(parsed.error.toStdString(), expected);
        }
    }
}

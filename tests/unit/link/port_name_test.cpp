#include "link/port_name.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

// Every kind of text --port may be given: the gateway it names ("host|port"), or the message.
TEST(PortName, TcpTextsNameAGatewayOrSayWhatIsWrong) {
    const struct {
        const char* text;
        const char* named;  // "host|port", or the English message
    } cases[] = {
        {"tcp://10.0.0.20:4001", "10.0.0.20|4001"},
        {"TCP://gw-3.plant_a.example:04001", "gw-3.plant_a.example|4001"},
        {"tcp://[fe80::1]:1", "fe80::1|1"},
        {"tcp://h:65535", "h|65535"},
        {"tcp://h:65536", "Port number 65536 in \"tcp://h:65536\" is not between 1 and 65535"},
        {"tcp://h:0", "Port number 0 in \"tcp://h:0\" is not between 1 and 65535"},
        {"tcp://h:99999999999",
         "Port number 99999999999 in \"tcp://h:99999999999\" is not "
         "between 1 and 65535"},
        {"tcp://10.0.0.20",
         "\"tcp://10.0.0.20\" is not a network port; expected tcp://HOST:PORT, "
         "e.g. tcp://10.0.0.20:4001"},
    };
    for (const auto& c : cases) {
        const ParsedPortName p = parseNetworkPortName(c.text);
        const std::string named = p.network
                                      ? p.network->host + "|" + std::to_string(p.network->port)
                                      : portNameFaultMessage(p, c.text).english;
        EXPECT_EQ(named, c.named) << c.text;
    }
    for (const char* bad :
         {"tcp://:4001", "tcp://h:", "tcp://h:40 01", "tcp://h:+4001", "tcp://h :4001",
          "tcp://h:4001/", "tcp://[h]:1", "tcp://a:b:1", "tcp:/h:1"}) {
        EXPECT_EQ(parseNetworkPortName(bad).fault, PortNameFault::Malformed) << bad;
    }
    EXPECT_FALSE(isNetworkPortName("/dev/ttyUSB0"));
    EXPECT_EQ((NetworkPort{"::1", 4001}).name(), "tcp://[::1]:4001");
}

// The adapter's words come out in the user's language; the system's own stay as they are.
TEST(PortName, NetworkFailuresSpeakTheUsersLanguage) {
    const NetworkPort gw{"10.0.0.20", 4001};
    const struct {
        std::string reported;
        const char* german;
    } cases[] = {
        {cannotConnectText(gw, "Connection refused"),
         "Verbindung zu 10.0.0.20:4001 nicht möglich: Connection refused"},
        {cannotConnectText(gw, hostNotFoundReason()),
         "Verbindung zu 10.0.0.20:4001 nicht möglich: Rechnername nicht gefunden"},
        {cannotConnectText(gw, noAnswerReason()),
         "Verbindung zu 10.0.0.20:4001 nicht möglich: keine Antwort innerhalb von 5 s"},
        {cannotConnectText(gw, cancelledReason()),
         "Verbindung zu 10.0.0.20:4001 nicht möglich: abgebrochen"},
        {connectionLostText(gw, "The remote host closed the connection"),
         "Verbindung zu 10.0.0.20:4001 unterbrochen: The remote host closed the connection"},
        {portNameFaultMessage(parseNetworkPortName("tcp://h:0"), "tcp://h:0").english,
         "Portnummer 0 in \"tcp://h:0\" liegt nicht zwischen 1 und 65535"},
        {"No such file or directory", "No such file or directory"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(portErrorIn(c.reported, Language::German), c.german);
        EXPECT_EQ(portErrorIn(c.reported, Language::English), c.reported);
    }
    EXPECT_EQ(cannotConnectText(gw, "Connection refused"),
              "Cannot connect to 10.0.0.20:4001: Connection refused");
}

}  // namespace
}  // namespace kalvo

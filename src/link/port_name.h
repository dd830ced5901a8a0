// Ports on the plant network. A serial device server (a gateway in "TCP server" mode) passes
// bytes unchanged between one TCP connection and its RS-485 line; line speed and framing are
// set on the gateway. Wherever a device path is accepted, "tcp://HOST:PORT" names such a
// gateway instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/language.h"

namespace kalvo {

struct NetworkPort {
    std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    int port = 0;      // 1..65535

    // "10.0.0.20:4001", "[::1]:4001": how messages name the gateway.
    std::string peer() const;
    // "tcp://10.0.0.20:4001": how the status bar, the settings and --port name it.
    std::string name() const;
    bool operator==(const NetworkPort&) const = default;
};

enum class PortNameFault { None, Malformed, PortOutOfRange };

struct ParsedPortName {
    std::optional<NetworkPort> network;  // set exactly when fault is None
    PortNameFault fault = PortNameFault::None;
    std::string portDigits;  // the port number as given, for PortOutOfRange
};

// Whether `text` names a network port: it begins with "tcp://" (in any case).
bool isNetworkPortName(std::string_view text);
// Reads "tcp://HOST:PORT": HOST a name or IPv4 address of letters, digits, '-', '.' and '_',
// or an IPv6 address in brackets; PORT digits for 1..65535.
ParsedPortName parseNetworkPortName(std::string_view text);
// The message for a faulty name (`text` as given); empty for a good one.
Wording portNameFaultMessage(const ParsedPortName& parsed, std::string_view text);

// What the network adapter reports as its errorText(), in English: a connect that failed and a
// connection that broke, with the reason in the system's words or one of the reasons below.
std::string cannotConnectText(const NetworkPort& port, std::string_view reason);
std::string connectionLostText(const NetworkPort& port, std::string_view reason);
// The reasons of our own: a name that does not resolve, no answer within the 5 s limit, and a
// connect the user cancelled.
std::string_view hostNotFoundReason();
std::string_view noAnswerReason();
std::string_view cancelledReason();
// A port's errorText() in the user's language: the network texts above and the English of
// portNameFaultMessage are put into German when asked; any other text (the system's words)
// stays as it is.
std::string portErrorIn(std::string_view portError, Language language);

}  // namespace kalvo

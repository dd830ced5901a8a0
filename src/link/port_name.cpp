#include "link/port_name.h"

#include <algorithm>
#include <cctype>

#include "text/messages.h"
#include "text/network_texts.h"

namespace kalvo {

namespace {

constexpr std::string_view kScheme = "tcp://";
constexpr int kHighestPort = 65535;

bool hostChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_';
}

bool ipv6Char(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
}

bool allOf(std::string_view s, bool (*ok)(char)) {
    return !s.empty() && std::all_of(s.begin(), s.end(), ok);
}

// Reads `text` as the English of `pattern` filled in, and fills the German with the same parts
// (a reason of our own in German too); nullopt when the text has another shape.
std::optional<std::string> translated(std::string_view text, const Text& pattern) {
    const std::string_view english = pattern.english;
    const std::size_t one = english.find("%1");
    const std::size_t two = english.find("%2");
    const std::string_view head = english.substr(0, one);
    const std::string_view tail = english.substr((two == std::string_view::npos ? one : two) + 2);
    if (text.size() < head.size() + tail.size() || !text.starts_with(head) ||
        !text.ends_with(tail)) {
        return std::nullopt;
    }
    std::string_view first = text.substr(head.size(), text.size() - head.size() - tail.size());
    std::string_view second;
    if (two != std::string_view::npos) {
        // What fills %1 (a peer, a port number) holds no blank: the first middle part ends it.
        const std::string_view middle = english.substr(one + 2, two - one - 2);
        const std::size_t cut = first.find(middle);
        if (cut == std::string_view::npos) return std::nullopt;
        second = first.substr(cut + middle.size());
        first = first.substr(0, cut);
        for (const Text& own : {kNetHostNotFound, kNetNoAnswer, kNetCancelled}) {
            if (second == own.english) second = own.german;
        }
    }
    return fillIn(pattern, first, second).german;
}

}  // namespace

std::string NetworkPort::peer() const {
    const std::string shown = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return shown + ":" + std::to_string(port);
}

std::string NetworkPort::name() const {
    return std::string(kScheme) + peer();
}

bool isNetworkPortName(std::string_view text) {
    return text.size() >= kScheme.size() &&
           std::equal(kScheme.begin(), kScheme.end(), text.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

ParsedPortName parseNetworkPortName(std::string_view text) {
    ParsedPortName r;
    r.fault = PortNameFault::Malformed;
    if (!isNetworkPortName(text)) return r;
    std::string_view rest = text.substr(kScheme.size());
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return r;
    std::string_view host = rest.substr(0, colon);
    const std::string_view digits = rest.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
        if (!allOf(host, ipv6Char)) return r;
    } else if (!allOf(host, hostChar)) {
        return r;
    }
    if (!allOf(digits, [](char c) { return c >= '0' && c <= '9'; })) return r;
    // Leading zeros do not count; more digits than 65535 has are out of range as a whole.
    const std::string_view significant =
        digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    int port = 0;
    if (significant.size() <= 5) {
        for (const char c : significant) port = port * 10 + (c - '0');
    }
    if (significant.size() > 5 || port < 1 || port > kHighestPort) {
        r.fault = PortNameFault::PortOutOfRange;
        r.portDigits = std::string(digits);
        return r;
    }
    r.fault = PortNameFault::None;
    r.network = NetworkPort{std::string(host), port};
    return r;
}

Wording portNameFaultMessage(const ParsedPortName& parsed, std::string_view text) {
    switch (parsed.fault) {
        case PortNameFault::None:
            return {};
        case PortNameFault::Malformed:
            return fillIn(kNetMalformed, text);
        case PortNameFault::PortOutOfRange:
            return fillIn(kNetPortRange, parsed.portDigits, text);
    }
    return {};
}

std::string cannotConnectText(const NetworkPort& port, std::string_view reason) {
    return fillIn(kNetCannotConnect, port.peer(), reason).english;
}

std::string connectionLostText(const NetworkPort& port, std::string_view reason) {
    return fillIn(kNetConnectionLost, port.peer(), reason).english;
}

std::string_view hostNotFoundReason() {
    return kNetHostNotFound.english;
}

std::string_view noAnswerReason() {
    return kNetNoAnswer.english;
}

std::string_view cancelledReason() {
    return kNetCancelled.english;
}

std::string portErrorIn(std::string_view portError, Language language) {
    if (language != Language::English) {
        for (const Text& pattern :
             {kNetCannotConnect, kNetConnectionLost, kNetMalformed, kNetPortRange}) {
            if (auto german = translated(portError, pattern)) return *german;
        }
    }
    return std::string(portError);
}

}  // namespace kalvo

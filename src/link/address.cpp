#include "link/address.h"

#include <algorithm>
#include <cmath>

#include "config/number_text.h"
#include "link/transaction.h"
#include "text/messages.h"

namespace kalvo {

namespace {

bool onlyBlanks(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string withTerminator(std::string text) {
    text += LF;
    text += CR;
    return text;
}

}  // namespace

std::optional<int> checkedAddress(std::string_view entry) {
    if (onlyBlanks(entry)) return std::nullopt;
    // A German user types "3,5" for three and a half: read the comma like the point, so the
    // entry counts as the fraction it is and not as 3.
    std::string text(entry);
    std::replace(text.begin(), text.end(), ',', '.');
    const double value = leadingNumber(text);
    if (value < kLowestAddress || value > kHighestAddress || value != std::floor(value)) return 0;
    return static_cast<int>(value);
}

std::optional<AddressChange> addressChangeFor(std::string_view oldEntry, std::string_view newEntry,
                                              bool verify) {
    const auto oldAddress = checkedAddress(oldEntry);
    const auto newAddress = checkedAddress(newEntry);
    if (!oldAddress || !newAddress) return std::nullopt;
    return AddressChange{*oldAddress, *newAddress, verify};
}

std::optional<int> strictAddress(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > kHighestAddress) return std::nullopt;
    return value;
}

AddressList parseAddressList(std::string_view text) {
    AddressList list;
    const auto bad = [&](std::string_view entry) {
        list.addresses.clear();
        list.badEntry = std::string(entry);
        return list;
    };
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view entry = text.substr(start, comma - start);
        const std::size_t dash = entry.find('-');
        const std::optional<int> first = strictAddress(entry.substr(0, dash));
        const std::optional<int> last =
            dash == std::string_view::npos ? first : strictAddress(entry.substr(dash + 1));
        if (!first || !last || *last < *first) return bad(entry);
        for (int a = *first; a <= *last; ++a) {
            if (std::find(list.addresses.begin(), list.addresses.end(), a) !=
                list.addresses.end()) {
                list.addresses.clear();
                list.twice = a;
                return list;
            }
            list.addresses.push_back(a);
        }
        if (comma == std::string_view::npos) return list;
        start = comma + 1;
    }
}

std::string addressChangeFrame(const AddressChange& change) {
    return frameText(std::to_string(change.oldAddress), "-*" + std::to_string(change.newAddress));
}

AddressChangeResult changeAddress(Link& link, const AddressChange& change) {
    AddressChangeResult result{change, Outcome::LinkFailure};
    auto ended = [&] {
        result.outcome = link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
        return result;
    };
    if (link.cancelled() || !link.ensureOpen()) return ended();

    const std::string frame = addressChangeFrame(change);
    link.log(frame);
    if (!link.send(withTerminator(frame))) return ended();
    if (!change.verify) {
        result.outcome = Outcome::Ok;
        return result;
    }

    // The device echoes the change frame like any command. Its echo starts with "-" as well,
    // so it must be gone before the test, or the test would take it for its own echo.
    link.pause(kAddressSettle);
    if (link.cancelled()) return ended();
    link.flushInput();
    if (link.lost()) return ended();

    const Transaction test = seriell(link, frameText(std::to_string(change.newAddress), "-t"), 0);
    if (test.cancelled) return ended();
    result.outcome = test.Befehl_ok ? Outcome::Ok : Outcome::LinkFailure;
    return result;
}

std::string addressChangeReport(const AddressChangeResult& result, Language language) {
    switch (result.outcome) {
        case Outcome::Ok:
            return "OK";
        case Outcome::Cancelled:
            return {};
        default:
            return msg(language).text;
    }
}

std::optional<std::string> standardAddress(std::string_view entry) {
    if (onlyBlanks(entry)) return std::nullopt;
    const double value = std::floor(leadingNumber(entry));
    return formatNumber(value > 0 ? value : 0, '.');
}

Outcome sendDirect(Link& link, std::string_view utf8Text) {
    if (link.cancelled()) return Outcome::Cancelled;
    if (!link.ensureOpen()) return Outcome::LinkFailure;
    link.log(std::string(utf8Text));
    if (!link.send(withTerminator(std::string(utf8Text)))) {
        return link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
    }
    return Outcome::Ok;
}

}  // namespace kalvo

// Bus addresses and raw frames: the command that gives a device a new address (with an optional
// link test at the new address), the address the program itself uses, and direct input of a
// whole frame typed by the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link.h"
#include "link/outcome.h"
#include "text/language.h"

namespace kalvo {

// The addresses a device accepts in an address change.
inline constexpr int kLowestAddress = 1;
inline constexpr int kHighestAddress = 32;

// One typed entry of the address change, as the device is given it: the leading number (blanks
// ignored; '.' and ',' both count as a decimal separator, so "3,5" is the fraction it looks
// like), 0 when that number is below 1, above 32 or not whole. nullopt when the entry is empty
// or holds only blanks: such an entry sends nothing, because a blank field read as 0 would
// re-address whichever device answers to 0.
std::optional<int> checkedAddress(std::string_view entry);

// An address change as it goes to the device.
struct AddressChange {
    int oldAddress = 0;  // the device that is to change (0..32 after the check)
    int newAddress = 0;  // the address it answers to afterwards
    bool verify = true;  // afterwards, run a link test "-t" at the new address
    bool operator==(const AddressChange&) const = default;
};

// The change for the two entries; nullopt when either is empty (nothing is sent).
std::optional<AddressChange> addressChangeFor(std::string_view oldEntry, std::string_view newEntry,
                                              bool verify);

// A bus address given on the command line: a whole number 0..32 written in digits only
// (leading zeros allowed: "07" is 7). nullopt for anything else (a sign, a fraction, a blank,
// a letter, nothing): a script's typing error must not reach another unit.
std::optional<int> strictAddress(std::string_view text);

// A list of bus addresses given on the command line: entries separated by commas, each an
// address as strictAddress() takes it or a rising range of two ("1,3-5" is 1, 3, 4, 5).
// `addresses` in the order given when the whole list is good; else `badEntry` is the first
// entry that is neither (an empty one included), or `twice` an address listed again.
struct AddressList {
    std::vector<int> addresses;
    std::optional<std::string> badEntry;
    std::optional<int> twice;
};
AddressList parseAddressList(std::string_view text);

// "-" + old + "-*" + new, numbers without leading zeros or blanks (no LF CR).
std::string addressChangeFrame(const AddressChange& change);

struct AddressChangeResult {
    AddressChange change;
    // Ok: the frame went out and, when asked for, the link test at the new address got its
    // echo. LinkFailure: the port failed, or the test got no matching echo. Cancelled: stopped.
    Outcome outcome = Outcome::LinkFailure;
    // The test at the new address passed: the program may take it as its own address.
    bool verified() const { return change.verify && outcome == Outcome::Ok; }
};

// The pause between the address frame and the link test: the device answers the change and
// stores its new address meanwhile; what it answered is discarded before the test.
inline constexpr Millis kAddressSettle{2000};

// Sends the address-change frame (logged like a command) and, when change.verify, waits
// kAddressSettle, drops what arrived and runs the link test "-t" at the new address through
// seriell. Changes nothing in the program: its own address stays as it is.
AddressChangeResult changeAddress(Link& link, const AddressChange& change);

// What the user is told after a change: "OK" when it went out (and passed the test when one
// ran), the link-failure text when it failed, nothing when it was cancelled.
std::string addressChangeReport(const AddressChangeResult& result, Language language);

// The program's own device address from a typed entry (the standard address) or a stored
// setting: the whole part of its leading number (blanks ignored, e.g. "12abc" -> "12",
// "07" -> "7", "3.5" -> "3", letters alone -> "0"), written without leading zeros. Numbers
// below 0 become "0"; there is no upper limit. nullopt when the entry is empty or only blanks
// (the address stays as it is).
std::optional<std::string> standardAddress(std::string_view entry);

// Direct input: sends the text exactly as typed + LF + CR (no address added; an empty text
// sends LF + CR alone), logged like a command. Ok when it went out; no reply is awaited.
Outcome sendDirect(Link& link, std::string_view utf8Text);

}  // namespace kalvo

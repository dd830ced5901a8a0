// The one command/reply transaction with the transducer.
#pragma once

#include <string>
#include <string_view>

#include "link/link.h"

namespace kalvo {

inline constexpr Millis kPhaseLimit{10000};  // each reply phase
inline constexpr Millis kPiecePause{1000};   // between 60-character pieces
inline constexpr std::size_t kPieceSize = 60;
inline constexpr int kMaxPieces = 3;  // the third piece carries the rest, however long

struct Transaction {
    std::string Antwort;     // reply from the first "-" up to and including CR or LF (UTF-8)
    bool Befehl_ok = false;  // the echo matched the command exactly
    bool Abbruch = false;    // the reply line did not end within its limit
    bool lost = false;       // the port failed or vanished during the exchange
    bool cancelled = false;
};

// Sends befehl ("-" + address + command, UTF-8) with LF + CR, in pieces of 60 characters with
// 1000 ms pauses (at most three pieces), then waits up to 10000 ms for the reply start "-"
// (discarding all before it) and another 10000 ms for the line end. Input still waiting from an
// earlier frame is flushed before sending; a whole line that arrives later holding the text of
// an earlier frame sent on this link (a slow device's late echo) is dropped and the wait goes
// on within the same limits, so nothing but such lines in time is no reply at all (Abbruch,
// empty Antwort). nur_senden 0: the reply is an echo and is compared case-sensitively;
// otherwise it carries data (it begins with the echo of befehl) and Befehl_ok stays false.
// Logs the command, the result line ("  OK" / "  NICHT OK") and "abbruch" per timed-out phase.
// A reply whose line did not end in time never counts as a matching echo. A port that cannot
// be opened, fails or vanishes ends the exchange at once with lost (Abbruch true); so does a
// cancel.
Transaction seriell(Link& link, std::string_view befehl, int nur_senden);

}  // namespace kalvo

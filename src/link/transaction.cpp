#include "link/transaction.h"

#include "text/cp1252.h"

namespace kalvo {

namespace {

// Ends the exchange because the port failed or the user stopped it.
Transaction& interrupted(Link& link, Transaction& t) {
    t.Abbruch = true;
    t.Befehl_ok = false;
    t.lost = link.lost();
    t.cancelled = link.cancelled();
    if (!t.lost && !t.cancelled) t.lost = true;
    return t;
}

}  // namespace

Transaction seriell(Link& link, std::string_view befehl, int nur_senden) {
    Transaction t;
    if (link.cancelled()) {
        t.Abbruch = true;
        t.cancelled = true;
        return t;
    }
    if (!link.ensureOpen()) return interrupted(link, t);
    link.log(std::string(befehl));
    // What is still waiting belongs to an earlier frame (a slow device's late echo, the LF
    // after a CR): it must not be taken for the reply to this one.
    link.flushInput();
    if (link.lost() || link.cancelled()) return interrupted(link, t);

    // Commands over 60 characters go out in pieces: characters 1..60, then 61..120, then the
    // rest, with a blocking pause of 1000 ms before each further piece. Only the last piece
    // carries LF CR.
    const std::string bytes = toCp1252(befehl);
    std::size_t start = 0;
    for (int piece = 1;; ++piece) {
        const bool last = piece == kMaxPieces || bytes.size() - start <= kPieceSize;
        std::string text = last ? bytes.substr(start) : bytes.substr(start, kPieceSize);
        if (last) {
            text += LF;
            text += CR;
        }
        if (!link.sendBytes(text)) return interrupted(link, t);
        link.progressStep();
        if (last) break;
        start += kPieceSize;
        link.pause(kPiecePause);
        if (link.cancelled()) return interrupted(link, t);
    }

    // Phase 1: everything before the reply's "-" is discarded (a leftover LF of the previous
    // reply, line noise).
    std::string reply;
    const TimePoint startLimit = link.clock().now() + kPhaseLimit;
    for (;;) {
        auto c = link.readByte(startLimit);
        if (!c) {
            if (link.lost() || link.cancelled()) return interrupted(link, t);
            link.log("abbruch");
            break;
        }
        if (*c == '-') {
            reply = "-";
            break;
        }
    }
    link.progressStep();

    // A whole line that is the text of an earlier frame and not what this command awaits is a
    // late echo of that frame: it is dropped and the reply is awaited further.
    const auto lateEcho = [&](std::string_view line) {
        const bool expected = nur_senden == 0 ? line == bytes : line.starts_with(bytes);
        return !expected && link.sentEarlier(line);
    };

    // Phase 2, with a limit of its own: collect up to and including the first CR or LF. After a
    // silent phase 1 this still collects whatever arrives.
    bool lineEnded = false;
    bool awaitingStart = false;  // a late echo was dropped: wait for the next "-"
    const TimePoint lineLimit = link.clock().now() + kPhaseLimit;
    for (;;) {
        auto c = link.readByte(lineLimit);
        if (!c) {
            if (link.lost() || link.cancelled()) return interrupted(link, t);
            link.log("abbruch");
            t.Abbruch = true;
            break;
        }
        if (awaitingStart && *c != '-') continue;
        awaitingStart = false;
        reply += *c;
        if (*c == CR || *c == LF) {
            if (lateEcho(std::string_view(reply).substr(0, reply.size() - 1))) {
                reply.clear();
                awaitingStart = true;
                continue;
            }
            lineEnded = true;
            break;
        }
    }
    link.progressStep();

    t.Antwort = fromCp1252(reply);
    if (reply.empty() || nur_senden != 0) return t;

    // The echo: the reply without its last character must be the command, byte for byte. A
    // reply whose line never ended does not count as an echo, whatever it holds.
    const std::string_view echo = std::string_view(reply).substr(0, reply.size() - 1);
    t.Befehl_ok = lineEnded && echo == bytes;
    link.log(fromCp1252(echo) + (t.Befehl_ok ? "  OK" : "  NICHT OK"));
    return t;
}

}  // namespace kalvo

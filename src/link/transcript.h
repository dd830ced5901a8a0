// A time-stamped record of one device job, for a service report: what went out on the line,
// what came back, the pauses between, the job's log and how it ended.
//
//   2026-12-07T09:15:02.120Z	start	kalvo-cli --port /dev/ttyUSB0 identify
//   2026-12-07T09:15:02.120Z	stage	hardware
//   2026-12-07T09:15:02.121Z	send	<CR>
//   2026-12-07T09:15:02.122Z	pause	2000 ms
//   2026-12-07T09:15:04.122Z	recv	-0-t<CR>
//   2026-12-07T09:15:04.123Z	log	-0-t
//   2026-12-07T09:15:04.124Z	send	-0-t<LF><CR>
//   2026-12-07T09:15:04.141Z	recv	-0-t<CR><LF>
//   2026-12-07T09:15:04.141Z	log	-0-t  OK
//   2026-12-07T09:15:06.330Z	end	ok
//
// One line per event: the time in UTC (ISO 8601 with milliseconds), TAB, what happened, TAB,
// its text. Bytes on the wire are Windows-1252 and appear as UTF-8 text; LF, CR and FF show as
// <LF>, <CR>, <FF>, every other control byte, the five bytes Windows-1252 leaves undefined
// and "<" itself as <0xNN>, so a line is always one line and reads back unambiguously.
// Received bytes are one event per line (up to and including its CR/LF), or per burst when
// the program sends, pauses or logs before the line ends; its time is when the program took
// the first byte from the port (bytes that came during a pause carry the pause's end). Pauses
// that follow one another with nothing sent, received or logged between them are one event.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link.h"
#include "link/outcome.h"
#include "platform/clock.h"

namespace kalvo {

// Bytes from the wire as one line of text (see above).
std::string wireText(std::string_view bytes);
// A UTF-8 text with its control characters and "<" shown the same way.
std::string escapedText(std::string_view utf8);

// "ok", "link failure", "wrong transducer", "never programmed", "bad reply", "bad record",
// "cancelled".
std::string_view outcomeWord(Outcome outcome);

class Transcript {
  public:
    // Each finished line, without a line end.
    using LineSink = std::function<void(const std::string& line)>;

    // The time stamps are `start` plus what `clock` has counted since: the wall clock is read
    // once, so the stamps keep step with the job's own clock.
    Transcript(WallTime start, const Clock& clock, LineSink sink);

    // What the job is ("kalvo-cli ... program a.cfg").
    void begin(std::string_view utf8);
    void stage(Stage stage);
    void sent(std::string_view bytes);
    void received(std::string_view bytes);
    void paused(TimePoint from, TimePoint to);
    void logged(std::string_view utf8);
    // The job's outcome and, when there is one, why (in the user's language).
    void ended(Outcome outcome, std::string_view reasonUtf8 = {});
    // Writes what is held back: received bytes whose line has not ended, a pause.
    void flush();

  private:
    void writeLine(TimePoint at, std::string_view what, std::string_view text);
    void flushReceived();
    void flushPause();

    WallTime wallStart_;
    TimePoint clockStart_;
    const Clock& clock_;
    LineSink sink_;
    std::string received_;  // bytes of the line being received
    TimePoint receivedAt_{};
    bool lineEnded_ = false;  // received_ ends with CR or LF
    bool pausing_ = false;
    TimePoint pauseFrom_{};
    TimePoint pauseTo_{};
};

// Writes the lines to `path` (UTF-8, LF after each line), replacing the file only once the
// whole text is written: a failure leaves an existing file as it was and no partial one.
bool saveTranscript(const std::string& path, const std::vector<std::string>& lines);

}  // namespace kalvo

// The trend of chosen measured lines against time (the data behind the trend window): fed with
// the lines of the same poll as the values window, it keeps per chosen line a ring of
// time-stamped values, each in one unit, and the minimum, maximum and mean since the start.
//
// A line is known by what it shows once the display has rewritten it: its name, the text after
// the unit ("U12 /U"), and its unit ("KV"). The unit of a line is that of the first line of that
// name: later values are converted into it with the display's prefixes (G, M, K), so a power
// that crosses 1000 W and is shown as "2.5 KW" is kept as 2500 W, not as a jump from 999 to 2.5.
// A line whose value field holds no number is a gap (NaN), never 0.
//
// Memory: a stored point takes 8 bytes (milliseconds since the start, the value in single
// precision: the device's seven-character field holds fewer digits than that). A line repeats at
// most once per cycle, and the shortest cycle on the 19200-baud line (11 bits a character) is a
// request of 8 characters answered by the cycle marker (form feed, CR) and one more request
// answered by the shortest value line with a name (value field, blank, one character, CR): 28
// characters, 16.04 ms. Sixty minutes of that are kTrendCapacity = 224 416 points, 1 795 328 bytes
// per chosen line, and the line's 3601 seconds in brief 86 424 bytes more: 1 881 752 bytes
// (1.8 MiB) a line, 7.5 MB for four, taken when a line is chosen and never grown. A faster
// source (the simulator without wire time) keeps its latest 224 416 points.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measure/measured_line.h"
#include "platform/clock.h"

namespace kalvo {

// A fixed number of slots; when all are used the oldest is overwritten. The slots are taken
// once, on construction. Index 0 is the oldest value kept.
template <typename T>
class RingBuffer {
  public:
    explicit RingBuffer(std::size_t capacity) : slots_(capacity == 0 ? 1 : capacity) {}

    void push(const T& value) {
        if (size_ < slots_.size()) {
            slots_[slot(size_)] = value;
            ++size_;
        } else {
            slots_[first_] = value;
            first_ = slot(1);
        }
    }
    void clear() { first_ = size_ = 0; }
    T& back() { return slots_[slot(size_ - 1)]; }  // the newest; not on an empty ring
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return slots_.size(); }
    const T& operator[](std::size_t i) const { return slots_[slot(i)]; }

  private:
    std::size_t slot(std::size_t i) const {
        const std::size_t k = first_ + i;
        return k >= slots_.size() ? k - slots_.size() : k;
    }
    std::vector<T> slots_;
    std::size_t first_ = 0;
    std::size_t size_ = 0;
};

// Sixty minutes of one line at the fastest pace of the device (see above).
inline constexpr std::size_t kTrendCapacity = (3600ULL * 19200 + 28 * 11 - 1) / (28 * 11);
inline constexpr int kTrendLines = 4;  // lines plotted at once
// The spans the view offers; each ends at viewEnd().
inline constexpr std::chrono::minutes kTrendSpans[] = {
    std::chrono::minutes(1), std::chrono::minutes(5), std::chrono::minutes(15),
    std::chrono::minutes(60)};

// One point as stored: milliseconds since the start of the trend, and the value in the line's
// unit (NaN for a gap).
struct TrendPoint {
    std::uint32_t ms = 0;
    float value = 0;
};
static_assert(sizeof(TrendPoint) == 8);

// A line of the cycle as it can be chosen.
struct TrendLine {
    std::string name;  // the text after the unit, without its blanks: "U12 /U" (UTF-8)
    std::string unit;  // the unit of its first line: "KV"; empty when it shows none
    // "U12 /U  KV"; the name alone without a unit.
    std::string label() const { return unit.empty() ? name : name + "  " + unit; }
};

// Since the start; gaps are counted, not included. The values are NaN until there is one.
struct TrendStats {
    long long values = 0;
    long long gaps = 0;
    double minimum = std::numeric_limits<double>::quiet_NaN();
    double maximum = std::numeric_limits<double>::quiet_NaN();
    double mean = std::numeric_limits<double>::quiet_NaN();
    double latest = std::numeric_limits<double>::quiet_NaN();  // NaN after a gap
};

// The name and the unit of a line as the display shows it (device bytes): the unit from
// position 9 up to the first blank, the name the rest without its blanks. No name for a line
// of eight characters or less.
std::string_view trendName(std::string_view shownBytes);

class TrendModel {
  public:
    // `capacity`: the points kept per chosen line.
    explicit TrendModel(std::size_t capacity = kTrendCapacity) : capacity_(capacity) {}

    // A line of the poll as the device sent it (UTF-8, without its CR) and the moment it came;
    // `t` are the record's transformers at that moment, as for the display.
    void lineReceived(std::string_view utf8, const Transformers& t, TimePoint at);
    // Starts afresh: no points, statistics, lines or pause; the choice stays. The next line
    // received is the new start.
    void clear();

    // The lines to choose from: those of the last complete cycle in its order; before a cycle
    // was complete, every line seen so far.
    std::vector<TrendLine> offered() const;
    std::optional<TrendLine> line(std::string_view name) const;

    // Plots a line from now on; false when it is plotted already, the name is empty or
    // kTrendLines are plotted. A name not seen yet may be chosen.
    bool choose(std::string_view name);
    void unchoose(std::string_view name);
    std::vector<std::string> chosen() const;

    // The statistics of a line seen since the start (chosen or not).
    std::optional<TrendStats> stats(std::string_view name) const;

    // The points of a chosen line in [viewEnd() - span, viewEnd()], oldest first.
    std::vector<TrendPoint> points(std::string_view name, std::chrono::milliseconds span) const;
    // The same points thinned for a plot `columns` wide, as stretches without a gap: in each
    // column the lowest and the highest value stay, in time order, so a short peak is never
    // drawn away. Sixty minutes at the device's pace are 224 416 points a line; a plot shows
    // at most two a column. When a column spans two seconds or more, the line's seconds in
    // brief are thinned instead of its points (a gap then ends a run at the second it fell
    // into). At most kMaxRuns stretches: beyond that the oldest are joined, the newest gaps stay.
    std::vector<std::vector<TrendPoint>> runs(std::string_view name, std::chrono::milliseconds span,
                                              int columns) const;
    static constexpr std::size_t kMaxRuns = 64;
    // The time of the last line received, or while paused the time the view was paused at.
    std::chrono::milliseconds viewEnd() const;
    // Nothing is taken from here on for a while (the poll ended, the window was closed): the
    // lines break, so the next points are not joined to these across the time unseen.
    void breakLines();
    // Pausing freezes the view's end; the points keep being recorded.
    void pause();
    void resume();
    bool paused() const { return frozenEnd_.has_value(); }

    // The bytes the chosen lines' points take.
    std::size_t memoryBytes() const;
    // Counts every change, so a window redraws only when something changed.
    unsigned long long revision() const { return revision_; }

    // A name never plotted and not in the last cycle is forgotten when this many are known, so
    // line noise cannot grow the table.
    static constexpr std::size_t kMaxNames = 64;

  private:
    struct Known {
        std::string unit;
        double factor = 1;  // of the unit's prefix
        std::string base;   // the unit without its prefix
        TrendStats stats;
        double sum = 0;
    };
    // A second of a line in brief, for long spans: thinning an hour of points for every frame
    // would cost more than drawing it. The lowest and highest value with their times, and
    // whether a gap fell into the second.
    struct Second {
        std::uint32_t start = 0;  // ms, a multiple of 1000
        TrendPoint low{0, std::numeric_limits<float>::quiet_NaN()};
        TrendPoint high{0, std::numeric_limits<float>::quiet_NaN()};
        bool gap = false;
    };
    static constexpr std::size_t kSeconds = 3601;  // sixty minutes and the second begun
    struct Series {
        std::string name;
        RingBuffer<TrendPoint> points;
        RingBuffer<Second> seconds;
        void push(TrendPoint p);
    };

    const Series* find(std::string_view name) const;
    // The index of the first point at or after viewEnd() - span.
    static std::size_t firstFrom(const RingBuffer<TrendPoint>& ring, long long from);
    std::uint32_t stamp(TimePoint at);
    void cycleMarker();
    Known* known(const std::string& name, std::string_view unit);
    void offer(std::vector<std::string>& list, const std::string& name);

    std::size_t capacity_;
    std::optional<TimePoint> start_;
    std::uint32_t lastMs_ = 0;
    std::optional<std::uint32_t> frozenEnd_;
    std::map<std::string, Known, std::less<>> known_;
    std::vector<std::string> seen_;   // since the last marker
    std::vector<std::string> cycle_;  // the last complete cycle
    std::vector<std::string> early_;  // every line until a cycle is complete
    bool marked_ = false;             // a marker came since the start
    bool complete_ = false;           // a whole cycle came
    std::vector<Series> series_;
    unsigned long long revision_ = 0;
};

}  // namespace kalvo

#include "measure/trend.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "config/default_range.h"
#include "text/cp1252.h"

namespace kalvo {

namespace {

constexpr std::size_t kUnitStart = 8;  // position 9

bool contains(const std::vector<std::string>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The factor of a unit's prefix and the unit without it. The display writes kilo as "K"; a
// unit of one letter has no prefix.
std::pair<double, std::string_view> splitPrefix(std::string_view unit) {
    if (unit.size() < 2) return {1.0, unit};
    const char first = unit.front() == 'K' ? 'k' : unit.front();
    const double factor = prefixFactor(std::string_view(&first, 1));
    if (factor == 1) return {1.0, unit};
    return {factor, unit.substr(1)};
}

}  // namespace

std::string_view trendName(std::string_view shownBytes) {
    if (shownBytes.size() <= kUnitStart) return {};
    std::string_view name = shownBytes.substr(kUnitStart + unitText(shownBytes).size());
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    name.remove_prefix(first);
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

void TrendModel::lineReceived(std::string_view utf8, const Transformers& t, TimePoint at) {
    const std::uint32_t ms = stamp(at);
    ++revision_;
    if (isCycleMarker(utf8)) {
        cycleMarker();
        return;
    }
    // Positions are the device's: rewrite its bytes and read the line as shown.
    const std::string received = toCp1252(utf8);
    const std::string shown = rewriteLine(received, t);
    const std::string name = fromCp1252(trendName(shown));
    if (name.empty()) return;
    const std::string unit = fromCp1252(unitText(shown));
    Known* line = known(name, unit);
    if (line == nullptr) return;
    offer(seen_, name);
    if (!complete_) offer(early_, name);

    // The display writes 0 into a field that held no number: that is a gap here. A unit of
    // another kind than the line's cannot be converted: a gap too.
    double value = std::numeric_limits<double>::quiet_NaN();
    const std::optional<double> number = valueFieldNumber(shown);
    if (number && valueFieldNumber(received)) {
        const auto [factor, base] = splitPrefix(unit);
        if (base == line->base) value = *number * factor / line->factor;
    }

    TrendStats& s = line->stats;
    s.latest = value;
    if (std::isnan(value)) {
        ++s.gaps;
    } else {
        s.minimum = s.values == 0 ? value : std::min(s.minimum, value);
        s.maximum = s.values == 0 ? value : std::max(s.maximum, value);
        ++s.values;
        line->sum += value;
        s.mean = line->sum / static_cast<double>(s.values);
    }
    for (Series& series : series_) {
        if (series.name == name) series.push({ms, static_cast<float>(value)});
    }
}

std::uint32_t TrendModel::stamp(TimePoint at) {
    if (!start_) start_ = at;
    const long long elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(at - *start_).count();
    // Milliseconds in 32 bits last 49 days; a poll that runs longer starts afresh.
    if (elapsed > static_cast<long long>(std::numeric_limits<std::uint32_t>::max())) {
        clear();
        start_ = at;
        return 0;
    }
    // Points stay in time order, even should the clock step back.
    lastMs_ = std::max(lastMs_, static_cast<std::uint32_t>(std::max(elapsed, 0LL)));
    return lastMs_;
}

void TrendModel::cycleMarker() {
    if (marked_) {
        cycle_ = seen_;
        complete_ = true;
        early_.clear();
    }
    marked_ = true;
    seen_.clear();
    if (known_.size() < kMaxNames) return;
    const std::vector<std::string> plotted = chosen();
    std::erase_if(known_, [&](const auto& entry) {
        return !contains(cycle_, entry.first) && !contains(plotted, entry.first);
    });
}

TrendModel::Known* TrendModel::known(const std::string& name, std::string_view unit) {
    const auto found = known_.find(name);
    if (found != known_.end()) return &found->second;
    if (known_.size() >= kMaxNames) return nullptr;
    Known line;
    line.unit = std::string(unit);
    const auto [factor, base] = splitPrefix(unit);
    line.factor = factor;
    line.base = std::string(base);
    return &known_.emplace(name, std::move(line)).first->second;
}

void TrendModel::offer(std::vector<std::string>& list, const std::string& name) {
    if (!contains(list, name)) list.push_back(name);
}

void TrendModel::clear() {
    start_.reset();
    lastMs_ = 0;
    frozenEnd_.reset();
    known_.clear();
    seen_.clear();
    cycle_.clear();
    early_.clear();
    marked_ = false;
    complete_ = false;
    for (Series& series : series_) {
        series.points.clear();
        series.seconds.clear();
    }
    ++revision_;
}

std::vector<TrendLine> TrendModel::offered() const {
    std::vector<TrendLine> lines;
    for (const std::string& name : complete_ ? cycle_ : early_) {
        if (std::optional<TrendLine> l = line(name)) lines.push_back(std::move(*l));
    }
    return lines;
}

std::optional<TrendLine> TrendModel::line(std::string_view name) const {
    const auto found = known_.find(name);
    if (found == known_.end()) return std::nullopt;
    return TrendLine{found->first, found->second.unit};
}

bool TrendModel::choose(std::string_view name) {
    if (name.empty() || series_.size() >= static_cast<std::size_t>(kTrendLines)) return false;
    if (contains(chosen(), name)) return false;
    series_.push_back(
        {std::string(name), RingBuffer<TrendPoint>(capacity_), RingBuffer<Second>(kSeconds)});
    ++revision_;
    return true;
}

void TrendModel::unchoose(std::string_view name) {
    std::erase_if(series_, [&](const Series& s) { return s.name == name; });
    ++revision_;
}

std::vector<std::string> TrendModel::chosen() const {
    std::vector<std::string> names;
    for (const Series& series : series_) names.push_back(series.name);
    return names;
}

std::optional<TrendStats> TrendModel::stats(std::string_view name) const {
    const auto found = known_.find(name);
    if (found == known_.end()) return std::nullopt;
    return found->second.stats;
}

void TrendModel::Series::push(TrendPoint p) {
    points.push(p);
    const std::uint32_t start = p.ms / 1000 * 1000;
    if (seconds.size() == 0 || seconds[seconds.size() - 1].start != start) {
        seconds.push(Second{start});
    }
    Second& s = seconds.back();
    if (std::isnan(p.value)) {
        s.gap = true;
        return;
    }
    if (std::isnan(s.low.value) || p.value < s.low.value) s.low = p;
    if (std::isnan(s.high.value) || p.value > s.high.value) s.high = p;
}

const TrendModel::Series* TrendModel::find(std::string_view name) const {
    const auto series = std::find_if(series_.begin(), series_.end(),
                                     [&](const Series& s) { return s.name == name; });
    return series == series_.end() ? nullptr : &*series;
}

std::size_t TrendModel::firstFrom(const RingBuffer<TrendPoint>& ring, long long from) {
    // The points are in time order: halve.
    std::size_t low = 0;
    std::size_t high = ring.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (static_cast<long long>(ring[middle].ms) < from) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

std::vector<TrendPoint> TrendModel::points(std::string_view name,
                                           std::chrono::milliseconds span) const {
    const Series* series = find(name);
    if (series == nullptr) return {};
    const RingBuffer<TrendPoint>* r = &series->points;
    const long long end = viewEnd().count();
    std::vector<TrendPoint> out;
    for (std::size_t i = firstFrom(*r, end - span.count());
         i < r->size() && static_cast<long long>((*r)[i].ms) <= end; ++i) {
        out.push_back((*r)[i]);
    }
    return out;
}

namespace {

// Thins points into runs column by column (see TrendModel::runs).
class Thinner {
  public:
    Thinner(long long from, long long span, int columns, std::size_t maxRuns)
        : from_(from), span_(span), width_(std::max(columns, 1)), maxRuns_(maxRuns) {}

    void value(TrendPoint p, long long columnMs) {
        if (!open_) {
            out_.emplace_back();
            open_ = true;
            column_ = -1;
        }
        const long long c = (columnMs - from_) * width_ / span_;
        if (c != column_) {
            flush();
            column_ = c;
        }
        if (!low_ || p.value < low_->value) low_ = p;
        if (!high_ || p.value > high_->value) high_ = p;
    }
    void gap() {
        flush();
        open_ = false;
    }
    // The runs; beyond maxRuns the oldest are joined, so the newest gaps, those the user
    // watches, stay visible.
    std::vector<std::vector<TrendPoint>> take() {
        flush();
        if (out_.size() > maxRuns_) {
            const auto joined = static_cast<std::ptrdiff_t>(out_.size() - maxRuns_ + 1);
            for (auto run = out_.begin() + 1; run != out_.begin() + joined; ++run) {
                out_.front().insert(out_.front().end(), run->begin(), run->end());
            }
            out_.erase(out_.begin() + 1, out_.begin() + joined);
        }
        return std::move(out_);
    }

  private:
    void flush() {
        if (!low_) return;
        std::vector<TrendPoint>& run = out_.back();
        const bool lowFirst = low_->ms <= high_->ms;
        run.push_back(lowFirst ? *low_ : *high_);
        if (low_->ms != high_->ms) run.push_back(lowFirst ? *high_ : *low_);
        low_.reset();
        high_.reset();
    }

    long long from_, span_, width_;
    std::size_t maxRuns_;
    std::vector<std::vector<TrendPoint>> out_;
    bool open_ = false;  // the last run goes on
    long long column_ = -1;
    std::optional<TrendPoint> low_, high_;
};

}  // namespace

std::vector<std::vector<TrendPoint>> TrendModel::runs(std::string_view name,
                                                      std::chrono::milliseconds span,
                                                      int columns) const {
    const Series* series = find(name);
    if (series == nullptr || span.count() <= 0) return {};
    const long long end = viewEnd().count();
    const long long from = end - span.count();
    Thinner thin(from, span.count(), columns, kMaxRuns);
    if (span.count() >= 2000LL * std::max(columns, 1)) {
        const RingBuffer<Second>& s = series->seconds;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const Second& second = s[i];
            if (second.start + 1000LL <= from || second.start > end) continue;
            // The low and the high in time order.
            const bool lowFirst = second.low.ms <= second.high.ms;
            for (const TrendPoint& p :
                 {lowFirst ? second.low : second.high, lowFirst ? second.high : second.low}) {
                if (!std::isnan(p.value)) thin.value(p, second.start);
            }
            if (second.gap) thin.gap();
        }
        return thin.take();
    }
    const RingBuffer<TrendPoint>& r = series->points;
    for (std::size_t i = firstFrom(r, from); i < r.size() && static_cast<long long>(r[i].ms) <= end;
         ++i) {
        if (std::isnan(r[i].value)) {
            thin.gap();
        } else {
            thin.value(r[i], r[i].ms);
        }
    }
    return thin.take();
}

std::chrono::milliseconds TrendModel::viewEnd() const {
    return std::chrono::milliseconds(frozenEnd_.value_or(lastMs_));
}

void TrendModel::breakLines() {
    for (Series& series : series_) {
        if (series.points.size() > 0) {
            series.push({lastMs_, std::numeric_limits<float>::quiet_NaN()});
        }
    }
    ++revision_;
}

void TrendModel::pause() {
    if (!frozenEnd_) frozenEnd_ = lastMs_;
    ++revision_;
}

void TrendModel::resume() {
    frozenEnd_.reset();
    ++revision_;
}

std::size_t TrendModel::memoryBytes() const {
    std::size_t bytes = 0;
    for (const Series& series : series_) {
        bytes += series.points.capacity() * sizeof(TrendPoint) +
                 series.seconds.capacity() * sizeof(Second);
    }
    return bytes;
}

}  // namespace kalvo

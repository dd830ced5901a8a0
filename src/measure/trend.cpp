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
        if (series.name == name) series.points.push({ms, static_cast<float>(value)});
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
    for (Series& series : series_) series.points.clear();
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
    series_.push_back({std::string(name), RingBuffer<TrendPoint>(capacity_)});
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

const RingBuffer<TrendPoint>* TrendModel::ring(std::string_view name) const {
    const auto series = std::find_if(series_.begin(), series_.end(),
                                     [&](const Series& s) { return s.name == name; });
    return series == series_.end() ? nullptr : &series->points;
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
    const RingBuffer<TrendPoint>* r = ring(name);
    if (r == nullptr) return {};
    const long long end = viewEnd().count();
    std::vector<TrendPoint> out;
    for (std::size_t i = firstFrom(*r, end - span.count());
         i < r->size() && static_cast<long long>((*r)[i].ms) <= end; ++i) {
        out.push_back((*r)[i]);
    }
    return out;
}

std::vector<std::vector<TrendPoint>> TrendModel::runs(std::string_view name,
                                                      std::chrono::milliseconds span,
                                                      int columns) const {
    std::vector<std::vector<TrendPoint>> out;
    const RingBuffer<TrendPoint>* r = ring(name);
    if (r == nullptr || span.count() <= 0) return out;
    const long long end = viewEnd().count();
    const long long from = end - span.count();
    const long long width = std::max(columns, 1);

    bool open = false;  // the last run goes on
    long long column = -1;
    std::optional<TrendPoint> low, high;
    const auto flush = [&] {
        if (!low) return;
        std::vector<TrendPoint>& run = out.back();
        const bool lowFirst = low->ms <= high->ms;
        run.push_back(lowFirst ? *low : *high);
        if (low->ms != high->ms) run.push_back(lowFirst ? *high : *low);
        low.reset();
        high.reset();
    };
    for (std::size_t i = firstFrom(*r, from);
         i < r->size() && static_cast<long long>((*r)[i].ms) <= end; ++i) {
        const TrendPoint p = (*r)[i];
        if (std::isnan(p.value)) {
            if (out.size() < kMaxRuns) {
                flush();
                open = false;
            }
            continue;
        }
        if (!open) {
            out.emplace_back();
            open = true;
            column = -1;
        }
        const long long c = (static_cast<long long>(p.ms) - from) * width / span.count();
        if (c != column) {
            flush();
            column = c;
        }
        if (!low || p.value < low->value) low = p;
        if (!high || p.value > high->value) high = p;
    }
    flush();
    return out;
}

std::chrono::milliseconds TrendModel::viewEnd() const {
    return std::chrono::milliseconds(frozenEnd_.value_or(lastMs_));
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
    for (const Series& series : series_) bytes += series.points.capacity() * sizeof(TrendPoint);
    return bytes;
}

}  // namespace kalvo

// The trend model fed with arbitrary lines. The first byte picks the transformers; the rest is
// split into lines at each CR, and each line's length sets how far the clock moves before it
// (a line of "~" steps a day, so long runs reach the 32-bit millisecond limit). At each cycle
// marker the first lines offered are chosen. Points stay in time order and within the ring, the
// table of names stays bounded, every line seen is counted as a value or a gap, and the points
// thinned for a plot have no gaps, at most two a column.
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "measure/trend.h"

namespace {

constexpr kalvo::Transformers kSets[] = {
    {0, 0, 0, 0},
    {20, 0.1, 0, 0},
    {0, 0, 100, 5},
    {20, 0.1, 100, 5},
    {1e6, 0.1, 1e3, 1},
    {0.4, 0.1, 0, 0},
    {1e300, 1e-5, 1e300, 1e-5},
};
constexpr std::size_t kCapacity = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    const kalvo::Transformers t = kSets[static_cast<unsigned char>(in[0]) % std::size(kSets)];
    in.remove_prefix(1);

    kalvo::TrendModel model(kCapacity);
    kalvo::TimePoint now{};
    while (!in.empty()) {
        const std::size_t cr = in.find('\r');
        const std::string_view line = in.substr(0, cr);
        in.remove_prefix(cr == std::string_view::npos ? in.size() : cr + 1);
        now += line == "~" ? std::chrono::milliseconds(std::chrono::hours(24))
                           : std::chrono::milliseconds(line.size() * 37);
        model.lineReceived(line, t, now);
        if (line.size() == 2) model.pause();
        if (line.size() == 3) model.resume();
        if (kalvo::isCycleMarker(line)) {
            for (const kalvo::TrendLine& offered : model.offered()) model.choose(offered.name);
        }
    }

    if (model.offered().size() > kalvo::TrendModel::kMaxNames) std::abort();
    // Each chosen line takes what one line takes, whatever came.
    kalvo::TrendModel one(kCapacity);
    one.choose("x");
    if (model.memoryBytes() != model.chosen().size() * one.memoryBytes()) std::abort();
    for (const std::string& name : model.chosen()) {
        const auto points = model.points(name, std::chrono::minutes(60));
        if (points.size() > kCapacity) std::abort();
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (points[i].ms < points[i - 1].ms) std::abort();
        }
        // Thinned for a plot: never more than two points a column, no gap inside a run, and
        // every point one of the stored ones.
        for (const int columns : {1, 3, 640, 60000}) {
            const auto runs =
                model.runs(name, std::chrono::minutes(columns == 60000 ? 1 : 60), columns);
            if (runs.size() > kalvo::TrendModel::kMaxRuns) std::abort();
            std::size_t drawn = 0;
            for (const auto& run : runs) {
                if (run.empty()) std::abort();
                for (const kalvo::TrendPoint& p : run) {
                    if (std::isnan(p.value)) std::abort();
                    ++drawn;
                }
            }
            if (drawn > 2 * (static_cast<std::size_t>(columns) + 1 + runs.size())) {
                std::abort();
            }
        }
        if (const auto s = model.stats(name)) {
            if (s->values > 0 && !std::isfinite(s->mean)) std::abort();
            if (s->values == 0 && !std::isnan(s->mean)) std::abort();
        }
    }
    return 0;
}

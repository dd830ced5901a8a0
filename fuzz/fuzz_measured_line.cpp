// Measured-value lines from arbitrary bytes, through the rewriting, the display model and the
// CSV row. The first byte picks the transformers ('T' takes four raw doubles from the next 32
// bytes: zeros, negatives, infinities, NaN); the rest is split into lines at each CR, as the
// poll splits the device's replies, and also fed to the display as (possibly broken) UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "measure/csv_log.h"
#include "measure/display.h"
#include "measure/measured_line.h"
#include "text/cp1252.h"

namespace {

constexpr kalvo::Transformers kSets[] = {
    {0, 0, 0, 0},       {20, 0.1, 0, 0},    {0, 0, 100, 5},  {20, 0.1, 100, 5},
    {1e6, 0.1, 1e3, 1}, {0.999, 0.1, 0, 0}, {20, 0, 100, 0}, {1e300, 1e-5, 1e300, 1e-5},
    {-20, 0.1, -5, 1},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    kalvo::Transformers t = kSets[static_cast<unsigned char>(in[0]) % std::size(kSets)];
    if (in[0] == 'T' && in.size() >= 33) {
        double raw[4];
        std::memcpy(raw, in.data() + 1, sizeof raw);
        t = {raw[0], raw[1], raw[2], raw[3]};
        in.remove_prefix(33);
    } else {
        in.remove_prefix(1);
    }

    kalvo::MeasuredValueDisplay display;
    display.startStop();
    for (int k = 0; k < kalvo::MeasuredValueDisplay::kLabels; ++k) {
        display.setLineNumber(k, static_cast<int>(in.size() % 40) - 3 + k);
    }
    while (!in.empty()) {
        const std::size_t cr = in.find('\r');
        const std::string_view line = in.substr(0, cr);
        in.remove_prefix(cr == std::string_view::npos ? in.size() : cr + 1);

        // The rewriting never changes a line's length.
        std::string received(line);
        received += '\r';
        if (kalvo::rewriteReceived(received, t).size() != received.size()) std::abort();
        const std::string shown = kalvo::rewriteLine(line, t);
        if (shown.size() > line.size() + 1) std::abort();

        display.lineReceived(kalvo::fromCp1252(line), t);
        display.lineReceived(line, t);  // raw bytes, not UTF-8
        (void)kalvo::csvRow({}, display.Zeilen_Nr(), kalvo::fromCp1252(shown));
        if (line.size() == 3) display.resized();
    }
    display.startStop();
    for (int k = 0; k < kalvo::MeasuredValueDisplay::kLabels; ++k) {
        if (display.lineNumber(k) != k) std::abort();
    }
    return 0;
}

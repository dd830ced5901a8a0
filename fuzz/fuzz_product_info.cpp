// The product-data file is edited by hand: any bytes must give usable texts, and what the
// parser returns must read back unchanged when written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/product_info.h"

namespace {

std::string written(const kalvo::ProductInfo& p) {
    std::string file = "[Product]\n";
    auto line = [&](const char* key, const std::string& value) {
        file += std::string(key) + "=\"" + value + "\"\n";
    };
    line("Maker", p.maker);
    line("Rights", p.rights);
    line("Platform", p.platform);
    line("Street", p.street);
    line("City", p.city);
    line("Phone", p.phone);
    line("Fax", p.fax);
    line("EMail", p.email);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kalvo::ProductInfo info = kalvo::parseProductInfo(bytes);
    for (const std::string& line : kalvo::contactLines(info)) {
        if (line.empty() || line.find_first_of("\r\n") != std::string::npos) std::abort();
    }
    if (kalvo::parseProductInfo(written(info)) != info) std::abort();
    return 0;
}

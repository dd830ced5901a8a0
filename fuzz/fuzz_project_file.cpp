// Project files are read from anywhere on disk: any bytes must either load into a valid
// record or be refused without touching the caller's record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/record.h"
#include "files/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    kalvo::Record base = kalvo::startRecord();
    base.Anzahl_Analog = 2;
    base.Anzahl_Binaer = 5;
    kalvo::Standardwerte_laden(base);

    const kalvo::Decoded decoded = kalvo::decodeProject(bytes, base);
    if (decoded.error != kalvo::FileError::None) {
        if (!(decoded.record == base) || decoded.detail.empty()) std::abort();
        return 0;
    }
    const kalvo::Record& r = decoded.record;
    if (kalvo::checkVariant(r.Anzahl_Analog, r.Anzahl_Binaer, r.Max_Spannung, r.Max_Strom)) {
        std::abort();
    }

    // What was loaded saves and loads again with the same variant.
    const kalvo::Encoded encoded = kalvo::encodeProject(r, "fuzz.cfg", ',');
    if (encoded.error == kalvo::FileError::TooLong) return 0;
    if (encoded.error != kalvo::FileError::None) std::abort();
    const kalvo::Decoded again = kalvo::decodeProject(encoded.bytes, base);
    if (again.error != kalvo::FileError::None) std::abort();
    if (again.record.Anzahl_Analog != r.Anzahl_Analog ||
        again.record.Anzahl_Binaer != r.Anzahl_Binaer) {
        std::abort();
    }
    return 0;
}

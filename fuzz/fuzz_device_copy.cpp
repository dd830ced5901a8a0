// The device copy must bring back what was programmed: for every record that programming
// accepts, the copy it stores with "-D1,", "-D2," and "-D3," reads back into the same record.
// Records come from the input (a variant, then cells changed to numbers and to texts with
// colons, commas, control characters and characters outside Windows-1252); each is programmed
// into a simulated transducer and read back through the read-back parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "../tests/support/device_copy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kalvo::Record record = kalvo::test::recordFromBytes(bytes);
    const char decimal = size > 0 && (data[0] & 0x80) != 0 ? '.' : ',';
    const auto back = kalvo::test::programAndReadBack(record, decimal);
    if (back && !kalvo::test::sameCopy(record, *back, decimal)) std::abort();
    return 0;
}

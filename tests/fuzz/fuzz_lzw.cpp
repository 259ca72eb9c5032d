// The expansion of the built-in data on arbitrary streams. The first two
// bytes give the capacity of the output (little-endian), the rest is the
// stream. The output buffer has exactly that size, so a write past it is
// caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gfx/builtin_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t capacity = data[0] | static_cast<size_t>(data[1]) << 8;
    std::vector<uint8_t> in(data + 2, data + size);
    std::vector<uint8_t> out(capacity);
    int64_t n = lzw_expand(in.data(), in.size(), out.data(), out.size());
    if (n < -1 || n > static_cast<int64_t>(capacity)) std::abort();
    return 0;
}

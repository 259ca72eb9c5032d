#include "gfx/builtin_data.h"

namespace {

constexpr int32_t FIRST_FREE_CODE = 256;
constexpr int32_t LAST_TABLE_CODE = 4094;
constexpr int32_t TABLE_ENTRIES = LAST_TABLE_CODE + 1 - FIRST_FREE_CODE;

// The string table: each entry is an earlier code plus one byte, so a string
// is written back to front by walking its prefixes. About 20 KB, on the
// stack of one expansion.
struct LzwTable {
    uint16_t prefix[TABLE_ENTRIES];
    uint16_t length[TABLE_ENTRIES];
    uint8_t last[TABLE_ENTRIES];
};

// Reads 12-bit codes, two from every three bytes. A code whose bytes are not
// all present reads as the end of the input.
class CodeReader {
   public:
    CodeReader(const uint8_t* in, size_t size) : in_(in), size_(size) {}

    bool next(int32_t& code) {
        const size_t group = index_ / 2 * 3;
        const bool second = index_ % 2 != 0;
        const size_t needed = group + (second ? 3 : 2);
        if (in_ == nullptr || needed > size_) return false;
        const uint8_t* b = in_ + group;
        code = second ? (b[1] >> 4) + 16 * b[2] : b[0] + 256 * (b[1] & 0x0F);
        ++index_;
        return true;
    }

   private:
    const uint8_t* in_;
    size_t size_;
    size_t index_ = 0;
};

size_t string_length(const LzwTable& table, int32_t code) {
    return code < FIRST_FREE_CODE ? 1 : table.length[code - FIRST_FREE_CODE];
}

// Writes the string of a defined code to out[0 .. its length).
void write_string(const LzwTable& table, int32_t code, uint8_t* out) {
    size_t i = string_length(table, code);
    while (code >= FIRST_FREE_CODE) {
        const int32_t slot = code - FIRST_FREE_CODE;
        out[--i] = table.last[slot];
        code = table.prefix[slot];
    }
    out[0] = static_cast<uint8_t>(code);
}

struct Expansion {
    LzwTable table;
    int32_t next_free = FIRST_FREE_CODE;
    int32_t previous = 0;
    size_t previous_at = 0;  // where the previous code's string starts in out
    size_t written = 0;
};

// Outputs one code after the first; false when it is undefined or the
// output would pass its capacity.
bool expand_code(Expansion& x, int32_t code, uint8_t* out, size_t capacity) {
    if (code > x.next_free) return false;
    const bool defined = code < x.next_free;
    const size_t previous_length = string_length(x.table, x.previous);
    const size_t length = defined ? string_length(x.table, code) : previous_length + 1;
    if (length > capacity - x.written) return false;
    uint8_t* at = out + x.written;
    if (defined) {
        write_string(x.table, code, at);
    } else {  // the string being defined: previous string plus its own first byte
        write_string(x.table, x.previous, at);
        at[previous_length] = out[x.previous_at];
    }
    if (x.next_free <= LAST_TABLE_CODE) {
        const int32_t slot = x.next_free - FIRST_FREE_CODE;
        x.table.prefix[slot] = static_cast<uint16_t>(x.previous);
        x.table.length[slot] = static_cast<uint16_t>(previous_length + 1);
        x.table.last[slot] = at[0];
        ++x.next_free;
    }
    x.previous = code;
    x.previous_at = x.written;
    x.written += length;
    return true;
}

uint8_t expanded_block[BUILTIN_DATA_SIZE];
bool expanded = false;

constexpr int32_t PALETTE_ENTRIES[BUILTIN_PALETTE_COUNT] = {2, 16, 64, 256};
const PaletteDesc palettes[BUILTIN_PALETTE_COUNT] = {
    {PALETTE_ENTRIES[0], expanded_block + BUILTIN_PALETTE_OFFSETS[0]},
    {PALETTE_ENTRIES[1], expanded_block + BUILTIN_PALETTE_OFFSETS[1]},
    {PALETTE_ENTRIES[2], expanded_block + BUILTIN_PALETTE_OFFSETS[2]},
    {PALETTE_ENTRIES[3], expanded_block + BUILTIN_PALETTE_OFFSETS[3]},
};

const FontDesc fonts[BUILTIN_FONT_COUNT] = {
    {8, 8, expanded_block + BUILTIN_FONT_OFFSETS[0]},
    {8, 14, expanded_block + BUILTIN_FONT_OFFSETS[1]},
    {8, 16, expanded_block + BUILTIN_FONT_OFFSETS[2]},
};

}  // namespace

int64_t lzw_expand(const uint8_t* in, size_t in_size, uint8_t* out, size_t capacity) {
    CodeReader reader(in, in_size);
    int32_t code = 0;
    if (!reader.next(code)) return -1;
    if (code == LZW_END_CODE) return 0;
    if (code >= FIRST_FREE_CODE || capacity == 0) return -1;
    Expansion x;
    out[0] = static_cast<uint8_t>(code);
    x.previous = code;
    x.written = 1;
    while (reader.next(code)) {
        if (code == LZW_END_CODE) return static_cast<int64_t>(x.written);
        if (!expand_code(x, code, out, capacity)) return -1;
    }
    return -1;
}

bool gfx_builtin_expand() {
    if (expanded) return true;
    const int64_t size = lzw_expand(gfx_builtin_stored, gfx_builtin_stored_size, expanded_block, BUILTIN_DATA_SIZE);
    expanded = size == static_cast<int64_t>(BUILTIN_DATA_SIZE);
    return expanded;
}

const uint8_t* gfx_builtin_data() { return expanded ? expanded_block : nullptr; }

const PaletteDesc* gfx_builtin_palette(int index) {
    if (!expanded || index < 0 || index >= BUILTIN_PALETTE_COUNT) return nullptr;
    return &palettes[index];
}

const FontDesc* gfx_builtin_font(int index) {
    if (!expanded || index < 0 || index >= BUILTIN_FONT_COUNT) return nullptr;
    return &fonts[index];
}

// The numeric input on an arbitrary typed line: the token reader, the
// token conversions and input_short, reading token after token until the
// line is used up, from the typed text and through a channel.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/channels.h"
#include "runtime/disk_driver.h"
#include "runtime/numeric_input.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

namespace {

// The line as the line input leaves it: the context's text, read from 0.
void set_line(const uint8_t* data, size_t size) {
    InputContext* in = input_context();
    string_assign(&in->text, temp_string_from_literal(data, size));
    in->source = nullptr;
    in->status = 0;
    in->index = 0;
}

// Every read takes at least one character, so a line of n characters
// gives at most n + 1 tokens; more means the reader stopped moving.
void read_tokens(size_t size) {
    InputContext* in = input_context();
    std::vector<char> token(TOKEN_CAPACITY + 1);  // exactly what callers own, so a write past it is caught
    for (size_t reads = 0; static_cast<uint64_t>(in->index) < size; ++reads) {
        if (reads > size) std::abort();
        int32_t before = in->index;
        int32_t float_mark = -1;
        int32_t length = input_token(token.data(), TOKEN_CAPACITY, &float_mark);
        if (length < 0 || length > TOKEN_CAPACITY || token[static_cast<size_t>(length)] != 0) std::abort();
        if (float_mark != 0 && float_mark != 1) std::abort();
        if (in->index <= before) std::abort();
        token_to_uint(token.data(), length);
        token_to_double(token.data(), length);
    }
}

void read_shorts(size_t size) {
    InputContext* in = input_context();
    for (size_t reads = 0; static_cast<uint64_t>(in->index) < size; ++reads) {
        if (reads > size) std::abort();
        int32_t before = in->index;
        int16_t value = 0;
        if (input_short(&value) != ERR_NONE || in->index <= before) std::abort();
    }
}

// The same line read through a channel (a stream over the bytes), where
// read characters come back through the record's put-back area.
void read_shorts_from_channel(const uint8_t* data, size_t size) {
    if (size == 0) return;
    std::vector<uint8_t> bytes(data, data + size);
    DiskStream disk{};
    disk.file = fmemopen(bytes.data(), size, "rb");
    if (!disk.file) std::abort();
    FILE* stream = disk.file;
    ChannelRecord rec{};
    rec.mode = MODE_INPUT;
    rec.kind = KIND_FILE;
    rec.access = ACCESS_READ;
    rec.size = static_cast<int64_t>(size);
    rec.driver = &disk_driver;
    rec.stream = &disk;
    InputContext* in = input_context();
    in->source = &rec;
    auto consumed = [&] { return std::ftell(stream) - static_cast<long>(rec.putback_count); };
    for (size_t reads = 0; consumed() < static_cast<long>(size); ++reads) {
        if (reads > size) std::abort();
        long before = consumed();
        int16_t value = 0;
        if (input_short(&value) != ERR_NONE || consumed() <= before) std::abort();
    }
    in->source = nullptr;
    std::fclose(stream);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    runtime_init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The conversions also see the raw bytes, in a buffer of exactly their
    // length: they must not read past it.
    int32_t length = static_cast<int32_t>(size < 4096 ? size : 4096);
    std::vector<char> raw(data, data + length);
    token_to_uint(raw.data(), length);
    token_to_double(raw.data(), length);

    set_line(data, size);
    read_tokens(size);
    set_line(data, size);
    read_shorts(size);
    read_shorts_from_channel(data, size);
    return 0;
}

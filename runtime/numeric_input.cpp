#include "runtime/numeric_input.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "runtime/channels.h"
#include "runtime/context_slots.h"

namespace {

// The typed line goes with the record at shutdown.
void release_text(void* record) { string_delete(&static_cast<InputContext*>(record)->text); }

}  // namespace

InputContext* input_context() {
    auto* in = static_cast<InputContext*>(get_context_slot(SLOT_INPUT, sizeof(InputContext)));
    context_slot_set_finaliser(SLOT_INPUT, release_text);
    return in;
}

int32_t input_getc() {
    InputContext* in = input_context();
    if (in->source && in->source->driver) {
        uint8_t byte = 0;
        uint64_t n = 0;
        if (file_read_at(in->source, 0, &byte, 1, &n) != ERR_NONE || n == 0) return -1;
        return byte;
    }
    if (static_cast<uint64_t>(in->index) >= string_length(&in->text)) return -1;
    return in->text.data[in->index++];
}

void input_ungetc(int32_t c) {
    if (c < 0) return;
    InputContext* in = input_context();
    if (in->source && in->source->driver) {
        uint8_t byte = static_cast<uint8_t>(c);
        file_unread(in->source, &byte, 1);
    } else if (in->index > 0) {
        --in->index;
    }
}

namespace {

bool is_blank(int32_t c) { return c == ' ' || c == '\t'; }

// After a blank, or after a token filled its buffer: skip blanks, then
// consume one terminator or leave the next character for the next token.
void finish_after_blank(int32_t c) {
    while (is_blank(c)) c = input_getc();
    if (c == ',' || c == '\n' || c < 0) return;
    if (c == '\r') {
        int32_t next = input_getc();
        if (next != '\n') input_ungetc(next);
        return;
    }
    input_ungetc(c);
}

}  // namespace

int32_t input_token(char* buffer, int64_t capacity, int32_t* float_mark) {
    *float_mark = 0;
    int32_t c = input_getc();
    while (is_blank(c)) c = input_getc();
    int64_t n = 0;
    bool quoted = false;
    bool radix = false;
    for (;; c = input_getc()) {
        if (c < 0 || c == '\n' || (c == ',' && !quoted)) break;
        if (c == '\r') {
            int32_t next = input_getc();
            if (next != '\n') input_ungetc(next);
            break;
        }
        if (is_blank(c) && !quoted) {
            finish_after_blank(input_getc());
            break;
        }
        if (c == '"' && (quoted || n == 0)) {
            quoted = !quoted;
            continue;
        }
        if (c == '&') radix = true;
        if ((c == '.' || c == 'E' || c == 'e') && !radix) *float_mark = 1;
        if ((c == 'D' || c == 'd') && !radix) {
            c = c == 'D' ? 'E' : 'e';
            *float_mark = 1;
        }
        buffer[n++] = static_cast<char>(c);
        if (n >= capacity) {
            finish_after_blank(input_getc());
            break;
        }
    }
    buffer[n] = 0;
    return static_cast<int32_t>(n);
}

namespace {

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool is_c_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// strtoul with a 32-bit unsigned long: magnitudes beyond 32 bits saturate,
// a minus sign negates modulo 2^32. The host's unsigned long is wider, so
// the rule is kept here rather than borrowed.
uint32_t strtoul32(const char* p, const char* end, int base) {
    while (p < end && is_c_space(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (base == 16 && end - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digit_value(p[2]) < 16) p += 2;
    uint64_t value = 0;
    bool overflow = false;
    for (; p < end && digit_value(*p) < base; ++p) {
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit_value(*p));
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    if (overflow) return 0xFFFFFFFFu;
    uint32_t result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

const char* skip_spaces(const char* p, const char* end) {
    while (p < end && *p == ' ') ++p;
    return p;
}

// Length of the decimal number at p: sign, digits, point, exponent. Only
// this form is converted; other forms a C library may know (hexadecimal,
// infinities) read as no number.
size_t decimal_prefix(const char* p, const char* end) {
    const char* q = p;
    while (q < end && is_c_space(*q)) ++q;
    if (q < end && (*q == '+' || *q == '-')) ++q;
    const char* digits = q;
    while (q < end && *q >= '0' && *q <= '9') ++q;
    bool any = q > digits;
    if (q < end && *q == '.') {
        const char* frac = ++q;
        while (q < end && *q >= '0' && *q <= '9') ++q;
        any = any || q > frac;
    }
    if (!any) return 0;
    if (q < end && (*q == 'e' || *q == 'E')) {
        const char* e = q + 1;
        if (e < end && (*e == '+' || *e == '-')) ++e;
        const char* exp_digits = e;
        while (e < end && *e >= '0' && *e <= '9') ++e;
        if (e > exp_digits) q = e;
    }
    return static_cast<size_t>(q - p);
}

}  // namespace

uint32_t token_to_uint(const char* token, int32_t length) {
    const char* end = token + (length > 0 ? length : 0);
    const char* p = skip_spaces(token, end);
    if (p == end) return 0;
    if (end - p >= 2 && p[0] == '&') {
        switch (p[1]) {
        case 'H':
        case 'h': return strtoul32(p + 2, end, 16);
        case 'B':
        case 'b': return strtoul32(p + 2, end, 2);
        case 'O':
        case 'o': return strtoul32(p + 2, end, 8);
        default: return strtoul32(p + 1, end, 8);
        }
    }
    return strtoul32(p, end, 10);
}

double token_to_double(const char* token, int32_t length) {
    const char* end = token + (length > 0 ? length : 0);
    const char* p = skip_spaces(token, end);
    if (p == end) return 0.0;
    if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return 0.0;
    char copy[TOKEN_CAPACITY + 1];
    size_t n = 0;
    for (; p < end && n < TOKEN_CAPACITY; ++p) copy[n++] = *p == 'D' ? 'E' : *p == 'd' ? 'e' : *p;
    size_t number = decimal_prefix(copy, copy + n);
    if (number == 0) return 0.0;
    copy[number] = 0;
    return std::strtod(copy, nullptr);
}

namespace {

// rint under round-to-nearest, then a 32-bit conversion in which anything
// out of range (infinities and NaN included) becomes the lowest value.
int32_t double_to_int32(double d) {
    double r = std::rint(d);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return INT32_MIN;
    return static_cast<int32_t>(r);
}

}  // namespace

ErrorCode input_short(int16_t* out) {
    char token[TOKEN_CAPACITY + 1];
    int32_t float_mark = 0;
    int32_t length = input_token(token, TOKEN_CAPACITY, &float_mark);
    int32_t value = float_mark ? double_to_int32(token_to_double(token, length))
                               : static_cast<int32_t>(token_to_uint(token, length));
    *out = static_cast<int16_t>(value);
    return set_last_error(ERR_NONE);
}

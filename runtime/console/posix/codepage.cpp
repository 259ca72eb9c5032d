#include "runtime/console/posix/codepage.h"

#include <iconv.h>
#include <langinfo.h>
#include <strings.h>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr size_t kIconvFailed = static_cast<size_t>(-1);

// iconv descriptors for the locale charset they were opened for; reopened
// when the program switches to a locale with another charset.
struct Converters {
    std::string charset;
    LocaleCharset kind = LocaleCharset::Ascii;
    iconv_t to_cp437 = kNoConverter;
    iconv_t from_cp437 = kNoConverter;
};

std::mutex g_mutex;
Converters g_converters;
bool g_opened = false;
iconv_t g_utf8_to_cp437 = kNoConverter;
bool g_utf8_opened = false;

bool is_ascii_name(const char* name) {
    return std::strcmp(name, "ANSI_X3.4-1968") == 0 || std::strcmp(name, "ASCII") == 0 ||
           std::strcmp(name, "US-ASCII") == 0;
}

bool is_utf8_name(const char* name) { return strcasecmp(name, "UTF-8") == 0 || strcasecmp(name, "UTF8") == 0; }

void close_converters(Converters& c) {
    if (c.to_cp437 != kNoConverter) iconv_close(c.to_cp437);
    if (c.from_cp437 != kNoConverter) iconv_close(c.from_cp437);
    c.to_cp437 = kNoConverter;
    c.from_cp437 = kNoConverter;
}

// Opens both directions; without them the charset is served as ASCII.
void open_converters(Converters& c, const char* charset) {
    c.charset = charset;
    c.kind = LocaleCharset::Ascii;
    if (is_ascii_name(charset)) return;
    c.to_cp437 = iconv_open("CP437", charset);
    c.from_cp437 = iconv_open(charset, "CP437");
    if (c.to_cp437 == kNoConverter || c.from_cp437 == kNoConverter) {
        close_converters(c);
        return;
    }
    c.kind = is_utf8_name(charset) ? LocaleCharset::Utf8 : LocaleCharset::SingleByte;
}

// The converters for the current locale; the caller holds g_mutex.
Converters& current_converters() {
    const char* charset = nl_langinfo(CODESET);
    if (charset == nullptr) charset = "ANSI_X3.4-1968";
    if (!g_opened || g_converters.charset != charset) {
        close_converters(g_converters);
        open_converters(g_converters, charset);
        g_opened = true;
    }
    return g_converters;
}

void reset_state(iconv_t cd) { iconv(cd, nullptr, nullptr, nullptr, nullptr); }

int32_t convert_one_to_cp437(iconv_t cd, const char* bytes, size_t n) {
    reset_state(cd);
    char* in = const_cast<char*>(bytes);
    size_t in_left = n;
    char result[8];
    char* out = result;
    size_t out_left = sizeof result;
    if (iconv(cd, &in, &in_left, &out, &out_left) == kIconvFailed || in_left != 0) return -1;
    if (iconv(cd, nullptr, nullptr, &out, &out_left) == kIconvFailed) return -1;
    if (out - result != 1 || result[0] == 0) return -1;
    return static_cast<uint8_t>(result[0]);
}

// Converts a run of printable CP437 bytes; a byte the charset lacks
// becomes '?'.
void convert_run_from_cp437(iconv_t cd, const uint8_t* run, size_t n, std::string& out) {
    reset_state(cd);
    char* in = reinterpret_cast<char*>(const_cast<uint8_t*>(run));
    size_t in_left = n;
    char chunk[256];
    while (in_left > 0) {
        char* dst = chunk;
        size_t dst_left = sizeof chunk;
        const size_t r = iconv(cd, &in, &in_left, &dst, &dst_left);
        const int error = errno;
        out.append(chunk, static_cast<size_t>(dst - chunk));
        if (r != kIconvFailed || error == E2BIG) continue;
        out.push_back('?');  // no form in the charset (or a broken state): skip the byte
        ++in;
        --in_left;
        reset_state(cd);
    }
    char* dst = chunk;
    size_t dst_left = sizeof chunk;
    if (iconv(cd, nullptr, nullptr, &dst, &dst_left) != kIconvFailed)
        out.append(chunk, static_cast<size_t>(dst - chunk));
}

void append_ascii(const uint8_t* cp437, size_t n, std::string& out) {
    for (size_t i = 0; i < n; ++i) out.push_back(cp437[i] < 128 ? static_cast<char>(cp437[i]) : '?');
}

}  // namespace

LocaleCharset codepage_locale_charset() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return current_converters().kind;
}

int32_t codepage_from_locale(const char* bytes, size_t n) {
    if (bytes == nullptr || n == 0) return -1;
    std::lock_guard<std::mutex> lock(g_mutex);
    const Converters& c = current_converters();
    if (c.kind == LocaleCharset::Ascii) {
        const auto byte = static_cast<uint8_t>(bytes[0]);
        return n == 1 && byte >= 1 && byte < 128 ? byte : -1;
    }
    return convert_one_to_cp437(c.to_cp437, bytes, n);
}

int32_t codepage_from_utf8(const char* bytes, size_t n) {
    if (bytes == nullptr || n == 0) return -1;
    const auto lead = static_cast<uint8_t>(bytes[0]);
    if (lead < 0x80) return n == 1 ? lead : -1;  // ASCII is the same in CP437
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_utf8_opened) {
        g_utf8_to_cp437 = iconv_open("CP437", "UTF-8");
        g_utf8_opened = true;
    }
    if (g_utf8_to_cp437 == kNoConverter) return -1;
    return convert_one_to_cp437(g_utf8_to_cp437, bytes, n);
}

size_t codepage_to_locale(const uint8_t* cp437, size_t n, std::string& out) {
    const size_t before = out.size();
    std::lock_guard<std::mutex> lock(g_mutex);
    const Converters& c = current_converters();
    size_t i = 0;
    while (i < n) {
        size_t end = i;
        while (end < n && cp437[end] >= 32) ++end;
        if (c.kind == LocaleCharset::Ascii) {
            append_ascii(cp437 + i, end - i, out);
        } else if (end > i) {
            convert_run_from_cp437(c.from_cp437, cp437 + i, end - i, out);
        }
        for (; end < n && cp437[end] < 32; ++end) out.push_back(static_cast<char>(cp437[end]));
        i = end;
    }
    return out.size() - before;
}

size_t codepage_utf8_length(uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC2) return 0;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF5) return 4;
    return 0;
}

size_t codepage_char_length(uint8_t lead) {
    switch (codepage_locale_charset()) {
    case LocaleCharset::Utf8: return codepage_utf8_length(lead);
    case LocaleCharset::SingleByte: return 1;
    case LocaleCharset::Ascii: return lead < 0x80 ? 1 : 0;
    }
    return 0;
}

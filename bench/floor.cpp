// The floor the batch program is measured against: the least a program can
// do to produce the same eight files. It reads a decimal rate from standard
// input, computes the seven shapes into memory and writes each file with
// one write. Nothing here comes from the program's own sources: the
// arithmetic is written out again from the formulas, so a shared mistake
// cannot hide.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kSamples = 65536;

// Round to nearest, ties to even, for |x| far below 2^51 (the default
// rounding mode does the work).
inline double rint_even(double x) {
    constexpr double big = 6755399441055744.0;  // 1.5 * 2^52
    return (x + big) - big;
}

inline int16_t wrap16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(x)); }
inline int sign(int x) { return (x > 0) - (x < 0); }

enum { SAW, SQSAW, SINE, MSAW, MSQ, TRI, SQ, SHAPES };

int16_t g_out[SHAPES][kSamples];

void compute(int16_t rate) {
    int16_t phase = wrap16(-int32_t{rate});
    int16_t msq = 0;
    for (int i = 0; i < kSamples; ++i) {
        phase = wrap16(phase + rate);
        int16_t saw = wrap16(phase + 32768);
        int64_t s = saw;
        int16_t sq = wrap16(static_cast<int64_t>(rint_even(static_cast<double>(s * (s < 0 ? -s : s)) / 32768.0)));
        int16_t sine = wrap16(static_cast<int32_t>(s - sq - sign(sq)) * 4);
        int64_t t = wrap16(static_cast<int64_t>(rint_even(saw / 4.0 + 8192.0)));
        int16_t m =
            wrap16(static_cast<int64_t>(rint_even((static_cast<double>(t * t) / 32768.0 - t) * -8.0 - 32768.0)));
        m = wrap16(m - sign(m));
        msq = wrap16(static_cast<int64_t>(rint_even(msq - msq / 512.0)));
        if (sign(msq) != sign(saw)) msq = wrap16(sign(saw) * 32767);
        int16_t q = wrap16(saw + 16384);
        uint16_t top = static_cast<uint16_t>(sign(q) + 32768);
        int16_t tri = static_cast<int16_t>(top ^ static_cast<uint16_t>(2 * q));
        g_out[SAW][i] = saw;
        g_out[SQSAW][i] = sq;
        g_out[SINE][i] = sine;
        g_out[MSAW][i] = m;
        g_out[MSQ][i] = msq;
        g_out[TRI][i] = tri;
        g_out[SQ][i] = wrap16(sign(saw) * 32767);
    }
}

// Opened like the program opens them: created when missing, never truncated.
bool write_file(const char* name, const void* data, size_t size) {
    int fd = open(name, O_WRONLY | O_CREAT, 0666);
    if (fd < 0) return false;
    bool ok = size == 0 || write(fd, data, size) == static_cast<ssize_t>(size);
    return close(fd) == 0 && ok;
}

}  // namespace

int main() {
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the files are little-endian");
    char line[64];
    ssize_t n = read(0, line, sizeof line - 1);
    line[n > 0 ? n : 0] = 0;
    compute(static_cast<int16_t>(std::atoi(line)));
    static const struct {
        const char* name;
        int shape;
    } files[] = {{"sawtooth.bin", SAW},   {"squaresaw.bin", SQSAW}, {"sineish.bin", SINE}, {"moogsaw.bin", MSAW},
                 {"moogsquare.bin", MSQ}, {"trisquare.bin", -1},    {"triangle.bin", TRI}, {"square.bin", SQ}};
    bool ok = true;
    for (const auto& f : files)
        ok = write_file(f.name, f.shape < 0 ? nullptr : g_out[f.shape], f.shape < 0 ? 0 : sizeof g_out[0]) && ok;
    return ok ? 0 : 1;
}

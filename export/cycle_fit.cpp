#include "export/cycle_fit.h"

#include <algorithm>
#include <filesystem>

#include "export/file_start.h"

namespace {

constexpr int64_t CYCLE = 65536;

// a / d in decimals, exactly: d is a power of two.
std::string exact_quotient(int64_t a, int64_t d) {
    std::string text = std::to_string(a / d);
    int64_t rest = a % d;
    if (rest) text += '.';
    while (rest) {
        rest *= 10;
        text += static_cast<char>('0' + rest / d);
        rest %= d;
    }
    return text;
}

}  // namespace

std::string cycle_fit_note(int16_t rate, int32_t frame) {
    const int64_t step = CYCLE / frame;  // the rates that fit are its multiples
    const int64_t magnitude = rate < 0 ? -int64_t{rate} : rate;
    if (magnitude % step == 0) return {};
    return "rate " + std::to_string(rate) + " puts " + exact_quotient(magnitude, step) + " cycles in each " +
           std::to_string(frame) + "-sample frame; frames loop cleanly when the rate is a multiple of " +
           std::to_string(step);
}

std::optional<int16_t> sawtooth_rate(const std::string& path) {
    const FileStart start = read_file_start(path, 4);
    if (!start.failure.empty() || start.bytes.size() < 4) return std::nullopt;
    const auto& b = start.bytes;
    return static_cast<int16_t>((b[2] | b[3] << 8) - (b[0] | b[1] << 8));
}

std::vector<std::string> cycle_fit_notes(const std::vector<std::string>& inputs, int32_t frame) {
    std::vector<std::filesystem::path> folders;
    std::vector<std::string> notes;
    for (const std::string& input : inputs) {
        const std::filesystem::path parent = std::filesystem::path(input).parent_path();
        const std::filesystem::path folder = (parent.empty() ? "." : parent).lexically_normal();
        if (std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
        folders.push_back(folder);
        const std::string sawtooth = (parent / "sawtooth.bin").string();
        const std::optional<int16_t> rate = sawtooth_rate(sawtooth);
        const std::string note = rate ? cycle_fit_note(*rate, frame) : std::string();
        if (!note.empty()) notes.push_back(sawtooth + ": " + note);
    }
    return notes;
}

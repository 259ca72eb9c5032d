#include "command_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "export/export_command.h"
#include "file_readers.h"

namespace {

class CapturedTerminal : public Terminal {
   public:
    void say(std::string_view text) override { out.append(text); }
    void warn(std::string_view line) override { err.append(line); }
    std::string out, err;
};

}  // namespace

CommandRun run_export(const std::vector<std::string>& words) {
    CapturedTerminal terminal;
    CommandRun run;
    run.status = export_command(words, terminal);
    run.out = terminal.out;
    run.err = terminal.err;
    return run;
}

void write_table(const std::string& path, const std::vector<int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    for (int16_t s : samples) {
        const auto u = static_cast<uint16_t>(s);
        const char bytes[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
        out.write(bytes, 2);
    }
}

std::vector<int16_t> probe_table(size_t count) {
    std::vector<int16_t> table(count);
    for (size_t i = 0; i < count; ++i) table[i] = static_cast<int16_t>(static_cast<uint16_t>(i * 40503u));
    const int16_t pins[] = {-32768, 32767, 0, -1, 1, -32767};
    for (size_t i = 0; i < std::size(pins) && i < count; ++i) table[i] = pins[i];
    return table;
}

std::vector<std::string> folder_names(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string wav_fault(const std::vector<unsigned char>& file, const std::vector<int16_t>& table, int32_t frame) {
    const WavContents wav = read_wav(file);
    if (!wav.fault.empty()) return wav.fault;
    std::vector<std::string> ids;
    for (const RiffChunk& c : wav.chunks) ids.push_back(c.id);
    if (ids != std::vector<std::string>{"fmt ", "fact", "clm ", "srge", "data"}) return "chunks out of order";
    if (wav.format_tag != 3 || wav.channels != 1 || wav.bits != 32 || wav.block_align != 4)
        return "not mono 32-bit float";
    if (wav.fmt_size != 18 || wav.extension_size != 0) return "not the extended fmt of a float file";
    if (wav.sample_rate != 44100 || wav.byte_rate != 44100 * 4) return "not 44100 Hz";
    if (wav.fact_samples != table.size()) return "fact does not count the samples";
    const std::string number = std::to_string(frame);
    // "<!>N " then eight flag digits, the second 0 (not a factory table).
    const size_t flags = number.size() + 4;
    if (wav.clm.rfind("<!>" + number + " ", 0) != 0 || wav.clm.size() < flags + 8 ||
        wav.clm.find_first_not_of("01234", flags) != flags + 8 || wav.clm[flags + 1] != '0')
        return "clm text \"" + wav.clm + "\" does not declare " + number;
    if (wav.srge_version != 1 || wav.srge_frame != frame) return "srge does not declare version 1, " + number;
    if (wav.samples.size() != table.size()) return "data holds " + std::to_string(wav.samples.size()) + " samples";
    for (size_t i = 0; i < table.size(); ++i) {
        const float sample = wav.samples[i];
        if (sample * 32768.0f != static_cast<float>(table[i]) || sample < -1.0f || sample >= 1.0f)
            return "sample " + std::to_string(i) + " is " + std::to_string(sample);
    }
    return {};
}

std::string wt_fault(const std::vector<unsigned char>& file, const std::vector<int16_t>& table, int32_t frame) {
    const WtContents wt = read_wt(file);
    if (!wt.fault.empty()) return wt.fault;
    if (wt.wave_size != static_cast<uint32_t>(frame)) return "wave size " + std::to_string(wt.wave_size);
    if (wt.wave_count != table.size() / static_cast<size_t>(frame))
        return "wave count " + std::to_string(wt.wave_count);
    if (wt.flags != (0x04 | 0x08)) return "flags " + std::to_string(wt.flags) + ", not int16 of the full range";
    return wt.samples == table ? "" : "the samples differ from the table";
}

InFolder::InFolder(const std::string& folder) : previous_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(folder);
}

InFolder::~InFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

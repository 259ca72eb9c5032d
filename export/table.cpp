#include "export/table.h"

#include "export/file_start.h"
#include "export/frames.h"

namespace {

std::string frames_of(int32_t frame) { return std::to_string(frame) + "-sample frames"; }

// Why the bytes are no table, or empty when they are one.
std::string table_fault(const FileStart& start, int32_t frame) {
    const size_t size = start.bytes.size();
    if (start.longer)
        return "longer than " + std::to_string(MAX_FRAMES) + " " + frames_of(frame) + ", the most a wavetable holds";
    if (size % 2) return "odd length (" + std::to_string(size) + " bytes): not 16-bit samples";
    if (size / 2 % static_cast<size_t>(frame))
        return std::to_string(size / 2) + " samples are not a whole number of " + frames_of(frame);
    return {};
}

}  // namespace

Table read_table(const std::string& path, int32_t frame) {
    FileStart start = read_file_start(path, static_cast<size_t>(MAX_FRAMES * frame * 2));
    Table table;
    table.failure = start.failure.empty() ? table_fault(start, frame) : start.failure;
    if (!table.failure.empty()) return table;
    table.samples.resize(start.bytes.size() / 2);
    for (size_t i = 0; i < table.samples.size(); ++i)
        table.samples[i] = static_cast<int16_t>(start.bytes[2 * i] | start.bytes[2 * i + 1] << 8);
    return table;
}

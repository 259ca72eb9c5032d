#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The command run in-process, as the binary runs it, with what it said.
struct CommandRun {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

CommandRun run_export(const std::vector<std::string>& words);

// A table file as the program writes it: 16-bit little-endian samples.
void write_table(const std::string& path, const std::vector<int16_t>& samples);

// A table of `count` samples that holds every interesting value: both ends
// of the range, zero, -1, and a ramp through the rest.
std::vector<int16_t> probe_table(size_t count);

// The names in a folder, sorted: what a shell's "*" gives, and what shows
// a file left behind.
std::vector<std::string> folder_names(const std::string& folder);

// Empty when the bytes are a WAV of `table` in frames of `frame`, as the
// facts of the format ask; else what is wrong.
std::string wav_fault(const std::vector<unsigned char>& file, const std::vector<int16_t>& table, int32_t frame);
// The same for Surge's .wt.
std::string wt_fault(const std::vector<unsigned char>& file, const std::vector<int16_t>& table, int32_t frame);

// The working folder changed for a scope, so that the command sees names
// as a user in that folder types them.
class InFolder {
   public:
    explicit InFolder(const std::string& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

   private:
    std::string previous_;
};

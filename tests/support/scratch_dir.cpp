#include "support/scratch_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) return;
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base / ("wavetable-test-" + std::to_string(names() % 1000000000000ull));
        if (!fs::create_directory(candidate, ec)) continue;
        fs::permissions(candidate, fs::perms::all, fs::perm_options::replace, ec);
        path_ = candidate.string();
        return;
    }
}

ScratchDir::~ScratchDir() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::vector<unsigned char> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool file_exists(const std::string& path) { return fs::exists(path); }

std::vector<int16_t> read_samples(const std::string& path) {
    std::vector<unsigned char> bytes = read_file(path);
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return samples;
}

#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A fresh empty directory, open to every user (a test may run the program
// as another one), removed with its contents at destruction. Empty path()
// when none could be made.
class ScratchDir {
   public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

   private:
    std::string path_;
};

std::vector<unsigned char> read_file(const std::string& path);
void write_file(const std::string& path, const std::vector<unsigned char>& bytes);
bool file_exists(const std::string& path);
// The 16-bit little-endian samples of a file.
std::vector<int16_t> read_samples(const std::string& path);

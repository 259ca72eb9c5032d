#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

// A file built in memory, its fields appended little-endian as both the
// RIFF and the Surge formats store them.
class ByteImage {
   public:
    void u16(uint16_t value) {
        bytes_.push_back(static_cast<unsigned char>(value));
        bytes_.push_back(static_cast<unsigned char>(value >> 8));
    }
    void u32(uint32_t value) {
        u16(static_cast<uint16_t>(value));
        u16(static_cast<uint16_t>(value >> 16));
    }
    void text(std::string_view ascii) { bytes_.insert(bytes_.end(), ascii.begin(), ascii.end()); }
    void reserve(size_t size) { bytes_.reserve(size); }
    size_t size() const { return bytes_.size(); }
    std::vector<unsigned char> take() { return std::move(bytes_); }

   private:
    std::vector<unsigned char> bytes_;
};

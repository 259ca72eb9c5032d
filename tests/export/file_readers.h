#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Readers of the two output formats written for the tests from the formats'
// rules, not from the writer: a RIFF chunk walk and the .wt header.

struct RiffChunk {
    std::string id;
    uint32_t size;  // of the body, without the pad byte
    size_t body;    // offset of the body in the file
};

struct WavContents {
    std::string fault;  // empty when the file is well-formed
    std::vector<RiffChunk> chunks;
    uint32_t fmt_size = 0;
    uint16_t format_tag = 0, channels = 0, block_align = 0, bits = 0, extension_size = 0;
    uint32_t sample_rate = 0, byte_rate = 0;
    uint32_t fact_samples = 0;
    std::string clm;  // the clm chunk's text
    int32_t srge_version = 0, srge_frame = 0;
    std::vector<float> samples;  // of a 32-bit float file
};

WavContents read_wav(const std::vector<unsigned char>& file);

struct WtContents {
    std::string fault;
    uint32_t wave_size = 0;
    uint16_t wave_count = 0, flags = 0;
    std::vector<int16_t> samples;  // of an int16 file
};

WtContents read_wt(const std::vector<unsigned char>& file);

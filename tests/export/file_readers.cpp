#include "file_readers.h"

#include <cstring>

namespace {

uint32_t le(const std::vector<unsigned char>& b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<size_t>(i)];
    return value;
}

void read_fmt(WavContents& wav, const std::vector<unsigned char>& f, const RiffChunk& c) {
    wav.fmt_size = c.size;
    if (c.size < 16) {
        wav.fault = "short fmt chunk";
        return;
    }
    wav.format_tag = static_cast<uint16_t>(le(f, c.body, 2));
    wav.channels = static_cast<uint16_t>(le(f, c.body + 2, 2));
    wav.sample_rate = le(f, c.body + 4, 4);
    wav.byte_rate = le(f, c.body + 8, 4);
    wav.block_align = static_cast<uint16_t>(le(f, c.body + 12, 2));
    wav.bits = static_cast<uint16_t>(le(f, c.body + 14, 2));
    if (c.size >= 18) wav.extension_size = static_cast<uint16_t>(le(f, c.body + 16, 2));
}

void read_chunk(WavContents& wav, const std::vector<unsigned char>& f, const RiffChunk& c) {
    if (c.id == "fmt ") read_fmt(wav, f, c);
    if (c.id == "fact" && c.size >= 4) wav.fact_samples = le(f, c.body, 4);
    if (c.id == "clm ") wav.clm.assign(reinterpret_cast<const char*>(&f[c.body]), c.size);
    if (c.id == "srge" && c.size >= 8) {
        wav.srge_version = static_cast<int32_t>(le(f, c.body, 4));
        wav.srge_frame = static_cast<int32_t>(le(f, c.body + 4, 4));
    }
    if (c.id == "data" && wav.format_tag == 3 && wav.bits == 32) {
        wav.samples.resize(c.size / 4);
        std::memcpy(wav.samples.data(), &f[c.body], wav.samples.size() * 4);
    }
}

}  // namespace

WavContents read_wav(const std::vector<unsigned char>& f) {
    WavContents wav;
    if (f.size() < 12 || std::memcmp(&f[0], "RIFF", 4) != 0 || std::memcmp(&f[8], "WAVE", 4) != 0) {
        wav.fault = "no RIFF/WAVE header";
        return wav;
    }
    if (le(f, 4, 4) != f.size() - 8) wav.fault = "RIFF size is not the file's size less 8";
    size_t at = 12;
    while (wav.fault.empty() && at < f.size()) {
        if (f.size() - at < 8) {
            wav.fault = "a chunk header cut short";
            break;
        }
        RiffChunk c{std::string(reinterpret_cast<const char*>(&f[at]), 4), le(f, at + 4, 4), at + 8};
        const size_t padded = c.size + (c.size & 1);
        if (f.size() - c.body < padded)
            wav.fault = c.id + " runs past the end of the file";
        else if ((c.size & 1) && f[c.body + c.size] != 0)
            wav.fault = c.id + "'s pad byte is not 0";
        else
            read_chunk(wav, f, c);
        wav.chunks.push_back(c);
        at = c.body + padded;
    }
    return wav;
}

WtContents read_wt(const std::vector<unsigned char>& f) {
    WtContents wt;
    if (f.size() < 12 || std::memcmp(&f[0], "vawt", 4) != 0) {
        wt.fault = "no vawt header";
        return wt;
    }
    wt.wave_size = le(f, 4, 4);
    wt.wave_count = static_cast<uint16_t>(le(f, 8, 2));
    wt.flags = static_cast<uint16_t>(le(f, 10, 2));
    const size_t sample_bytes = (wt.flags & 0x04) ? 2 : 4;
    if (f.size() != 12 + size_t{wt.wave_size} * wt.wave_count * sample_bytes) {
        wt.fault = "the data is not wave size x wave count samples";
        return wt;
    }
    if (sample_bytes == 2)
        for (size_t at = 12; at < f.size(); at += 2) wt.samples.push_back(static_cast<int16_t>(le(f, at, 2)));
    return wt;
}

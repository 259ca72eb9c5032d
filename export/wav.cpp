#include "export/wav.h"

#include <bit>
#include <string>

#include "export/byte_image.h"

namespace {

constexpr uint16_t FORMAT_IEEE_FLOAT = 3;
constexpr uint16_t BYTES_PER_SAMPLE = 4;

// A chunk's header; the body follows, and an odd body takes a pad byte.
void chunk(ByteImage& image, const char* id, uint32_t size) {
    image.text(id);
    image.u32(size);
}

void clm_chunk(ByteImage& image, int32_t frame) {
    const std::string text = "<!>" + std::to_string(frame) + CLM_TAIL;
    chunk(image, "clm ", static_cast<uint32_t>(text.size()));
    image.text(text);
    if (text.size() % 2) image.text(std::string_view("\0", 1));
}

// A format other than PCM takes the extended `fmt ` (its extra size, 0)
// and a `fact` chunk with the number of samples.
void format_chunks(ByteImage& image, uint32_t sample_count) {
    chunk(image, "fmt ", 18);
    image.u16(FORMAT_IEEE_FLOAT);
    image.u16(1);
    image.u32(WAV_SAMPLE_RATE);
    image.u32(WAV_SAMPLE_RATE * BYTES_PER_SAMPLE);
    image.u16(BYTES_PER_SAMPLE);
    image.u16(BYTES_PER_SAMPLE * 8);
    image.u16(0);
    chunk(image, "fact", 4);
    image.u32(sample_count);
}

}  // namespace

std::vector<unsigned char> wav_file(std::span<const int16_t> samples, int32_t frame) {
    const auto count = static_cast<uint32_t>(samples.size());
    ByteImage image;
    image.reserve(128 + samples.size() * BYTES_PER_SAMPLE);
    chunk(image, "RIFF", 0);  // its size once the rest is known
    image.text("WAVE");
    format_chunks(image, count);
    clm_chunk(image, frame);
    chunk(image, "srge", 8);
    image.u32(1);
    image.u32(static_cast<uint32_t>(frame));
    chunk(image, "data", count * BYTES_PER_SAMPLE);
    for (int16_t sample : samples) image.u32(std::bit_cast<uint32_t>(static_cast<float>(sample) / 32768.0f));
    std::vector<unsigned char> bytes = image.take();
    const auto riff_size = static_cast<uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<unsigned char>(riff_size >> (8 * i));
    return bytes;
}

#include "wine_program.h"

#include "support/reference_waves.h"
#include "support/scratch_dir.h"

namespace {

// In the order of reference::Shapes.
const char* const SHAPE_FILES[] = {"sawtooth.bin",   "squaresaw.bin", "sineish.bin", "moogsaw.bin",
                                   "moogsquare.bin", "triangle.bin",  "square.bin"};
constexpr size_t FILE_BYTES = 65536 * 2;

}  // namespace

std::vector<std::string> wine_command() { return {WINE_RUN, WT_WINDOWS_EXE}; }

std::string check_wave_files(const std::string& directory, int16_t rate) {
    const reference::Shapes want = reference::compute(rate);
    std::string wrong;
    for (int shape = 0; shape < 7; ++shape) {
        const std::string name = SHAPE_FILES[shape];
        if (read_samples(directory + "/" + name) != want.of[shape]) wrong += name + " differs; ";
    }
    const std::string empty = directory + "/trisquare.bin";
    if (!file_exists(empty) || !read_file(empty).empty()) wrong += "trisquare.bin is missing or not empty; ";
    return wrong;
}

bool wave_files_complete(const std::string& directory) {
    for (const char* name : SHAPE_FILES)
        if (read_file(directory + "/" + name).size() != FILE_BYTES) return false;
    return true;
}

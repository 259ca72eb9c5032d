#include "support/wave_files.h"

#include "support/reference_waves.h"
#include "support/scratch_dir.h"

using reference::SHAPE_FILES;

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
        if (read_file(directory + "/" + name).size() != reference::WAVE_FILE_BYTES) return false;
    return true;
}

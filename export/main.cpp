#include <cstdio>
#include <string>
#include <vector>

#include "export/export_command.h"

namespace {

class StandardStreams : public Terminal {
   public:
    void say(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
    void warn(std::string_view line) override { std::fwrite(line.data(), 1, line.size(), stderr); }
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    StandardStreams terminal;
    const int status = export_command(words, terminal);
    // Help piped into a closed or full output is a failure too.
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? status : 1;
}

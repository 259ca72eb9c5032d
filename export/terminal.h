#pragma once
#include <string_view>

// Where the command speaks: standard output for what was asked for (--help,
// --version), standard error for every note, skipped file and failure. A
// class of its own so that the tests can run the whole command in-process.
class Terminal {
   public:
    virtual ~Terminal() = default;
    virtual void say(std::string_view text) = 0;
    virtual void warn(std::string_view line) = 0;
};

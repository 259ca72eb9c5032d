#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

// Environment changes: a value sets the variable, nullopt removes it.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

// The environment of a child process: this process's, without DISPLAY (so
// no window opens unless a test asks for one), then `base` and `changes`
// applied in turn. Built before a fork: after it only async-signal-safe
// calls are allowed.
class ChildEnv {
   public:
    explicit ChildEnv(const EnvChanges& changes, const EnvChanges& base = {});
    char* const* envp() { return pointers_.data(); }

   private:
    std::vector<std::string> entries_;
    std::vector<char*> pointers_;
};

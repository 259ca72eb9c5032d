#pragma once
#include <optional>
#include <string>

// Sets (a value) or removes (nullopt) an environment variable of this
// process, on every system the tests run on.
void set_env(const std::string& name, const std::optional<std::string>& value);
std::optional<std::string> get_env(const std::string& name);

// An environment variable changed for a test: what it was comes back when
// the object goes.
class ScopedEnv {
   public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void set(const std::optional<std::string>& value) { set_env(name_, value); }

   private:
    std::string name_;
    std::optional<std::string> old_;
};

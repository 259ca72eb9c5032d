#include "support/posix/child_env.h"

#include <unistd.h>

ChildEnv::ChildEnv(const EnvChanges& changes, const EnvChanges& base) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        size_t eq = entry.find('=');
        if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    vars.erase("DISPLAY");
    for (const EnvChanges* layer : {&base, &changes})
        for (const auto& [name, value] : *layer) {
            if (value)
                vars[name] = *value;
            else
                vars.erase(name);
        }
    for (const auto& [name, value] : vars) entries_.push_back(name + "=" + value);
    for (std::string& e : entries_) pointers_.push_back(e.data());
    pointers_.push_back(nullptr);
}

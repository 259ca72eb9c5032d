#include "runtime/runtime_parts.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int MAX_PARTS = 4;

struct Parts {
    const RuntimePart* list[MAX_PARTS];
    int count;
};

// Zero before any registration runs, whatever the order of static
// initialisation.
constinit Parts g_parts{};

}  // namespace

void runtime_register_part(const RuntimePart* part) {
    if (g_parts.count == MAX_PARTS) {
        // A build that registers more parts than the core has room for is
        // broken; better to say so at once than to lose a shutdown step.
        std::fputs("runtime: too many runtime parts registered\n", stderr);
        std::abort();
    }
    g_parts.list[g_parts.count++] = part;
}

void runtime_parts_init() {
    for (int i = 0; i < g_parts.count; ++i)
        if (g_parts.list[i]->init) g_parts.list[i]->init();
}

void runtime_parts_shutdown() {
    for (int i = g_parts.count - 1; i >= 0; --i)
        if (g_parts.list[i]->shutdown) g_parts.list[i]->shutdown();
}

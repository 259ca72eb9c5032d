#include "runtime/strings.h"

#include <cstdlib>
#include <cstring>

#include "runtime/runtime_context.h"

namespace {

// A pool node: list links followed by the descriptor handed out.
struct PoolNode {
    PoolNode* prev;
    PoolNode* next;
    StringDesc desc;
    bool in_use;
};

struct TempStringPool {
    PoolNode nodes[TEMP_STRING_COUNT];
    PoolNode* free_head;
    PoolNode* used_head;
    PoolNode* used_tail;
    int32_t used_count;
    bool ready;
};

TempStringPool g_pool;

void pool_setup() {
    for (int i = 0; i < TEMP_STRING_COUNT; ++i) {
        g_pool.nodes[i] = PoolNode{};
        g_pool.nodes[i].next = i + 1 < TEMP_STRING_COUNT ? &g_pool.nodes[i + 1] : nullptr;
    }
    g_pool.free_head = &g_pool.nodes[0];
    g_pool.ready = true;
}

PoolNode* node_of(const StringDesc* desc) {
    auto addr = reinterpret_cast<uintptr_t>(desc);
    auto first = reinterpret_cast<uintptr_t>(&g_pool.nodes[0].desc);
    if (addr < first) return nullptr;
    uintptr_t offset = addr - first;
    if (offset % sizeof(PoolNode) != 0 || offset / sizeof(PoolNode) >= TEMP_STRING_COUNT) return nullptr;
    return &g_pool.nodes[offset / sizeof(PoolNode)];
}

StringDesc* pool_take() {
    if (!g_pool.ready) pool_setup();
    PoolNode* node = g_pool.free_head;
    if (!node) return nullptr;
    g_pool.free_head = node->next;
    node->prev = g_pool.used_tail;
    node->next = nullptr;
    (g_pool.used_tail ? g_pool.used_tail->next : g_pool.used_head) = node;
    g_pool.used_tail = node;
    ++g_pool.used_count;
    node->in_use = true;
    node->desc = StringDesc{};
    return &node->desc;
}

void pool_give_back(PoolNode* node) {
    (node->prev ? node->prev->next : g_pool.used_head) = node->next;
    (node->next ? node->next->prev : g_pool.used_tail) = node->prev;
    --g_pool.used_count;
    node->in_use = false;
    node->prev = nullptr;
    node->next = g_pool.free_head;
    g_pool.free_head = node;
    node->desc = StringDesc{};
}

// Blocks grow in steps of 32 characters plus an eighth, so that similar
// lengths reuse the block.
uint64_t block_size_for(uint64_t n) {
    uint64_t rounded = (n + 31) & ~uint64_t{31};
    return rounded + rounded / 8;
}

// Beyond this no block can be had; refusing early keeps the size
// arithmetic from wrapping.
constexpr uint64_t MAX_STRING_LENGTH = uint64_t{1} << 60;

}  // namespace

StringDesc* string_empty() { return &runtime_context().empty_string; }

StringDesc* temp_string_from_literal(const void* text, uint64_t length) {
    StringDesc* desc = pool_take();
    if (!desc) return string_empty();
    desc->data = static_cast<uint8_t*>(const_cast<void*>(text));
    desc->length = length & ~STRING_TEMP_FLAG;
    desc->capacity = desc->length;
    return desc;
}

StringDesc* string_resize(StringDesc* desc, uint64_t n, bool keep) {
    if (!desc || n > MAX_STRING_LENGTH) return nullptr;
    uint64_t want = block_size_for(n);
    uint64_t flag = desc->length & STRING_TEMP_FLAG;
    if (desc->data && n <= desc->capacity && desc->capacity - desc->capacity / 8 <= want) {
        desc->length = n | flag;
        return desc;
    }
    if (keep) {
        void* block = std::realloc(desc->data, want + 1);
        uint64_t capacity = want;
        if (!block) {
            block = std::realloc(desc->data, n + 1);
            capacity = n;
        }
        if (!block) return nullptr;
        desc->data = static_cast<uint8_t*>(block);
        desc->capacity = capacity;
    } else {
        string_delete(desc);
        void* block = std::malloc(want + 1);
        uint64_t capacity = want;
        if (!block) {
            block = std::malloc(n + 1);
            capacity = n;
        }
        if (!block) {
            desc->length = 0;
            desc->capacity = 0;
            return nullptr;
        }
        desc->data = static_cast<uint8_t*>(block);
        desc->capacity = capacity;
    }
    desc->length = n | (desc->length & STRING_TEMP_FLAG);
    return desc;
}

StringDesc* temp_string_alloc(StringDesc* desc, uint64_t n) {
    if (desc) {
        if (!string_resize(desc, n, false)) return nullptr;
    } else {
        desc = pool_take();
        if (!desc) return nullptr;
        if (!string_resize(desc, n, false)) {
            pool_give_back(node_of(desc));
            return nullptr;
        }
    }
    desc->length |= STRING_TEMP_FLAG;
    desc->data[n] = 0;
    return desc;
}

StringDesc* temp_string_from_chars(int32_t count, const int32_t* codes) {
    if (count <= 0) return string_empty();
    StringDesc* desc = temp_string_alloc(nullptr, static_cast<uint64_t>(count));
    if (!desc) return string_empty();
    for (int32_t i = 0; i < count; ++i) desc->data[i] = static_cast<uint8_t>(codes[i]);
    desc->data[count] = 0;
    return desc;
}

void string_delete(StringDesc* desc) {
    if (!desc || !desc->data) return;
    std::free(desc->data);
    *desc = StringDesc{};
}

int32_t temp_string_release(StringDesc* desc) {
    if (!desc) return -1;
    if (desc->length & STRING_TEMP_FLAG) string_delete(desc);
    PoolNode* node = node_of(desc);
    // A descriptor given back twice stays on the free list once.
    if (!node || !node->in_use) return -1;
    pool_give_back(node);
    return 0;
}

namespace {

struct Operand {
    const uint8_t* data;
    uint64_t length;
};

Operand operand_of(const void* p, int64_t size) {
    if (!p) return {nullptr, 0};
    if (size == -1) {
        auto* desc = static_cast<const StringDesc*>(p);
        return {desc->data, string_length(desc)};
    }
    auto* text = static_cast<const char*>(p);
    return {reinterpret_cast<const uint8_t*>(text), std::strlen(text)};
}

int32_t compare_operands(Operand a, Operand b) {
    if (a.data && b.data) {
        uint64_t shorter = a.length < b.length ? a.length : b.length;
        int r = shorter ? std::memcmp(a.data, b.data, shorter) : 0;
        if (r != 0) return r;
        if (a.length == b.length) return 0;
        return a.length > b.length ? 1 : -1;
    }
    if (a.data) return a.length ? 1 : 0;
    if (b.data) return b.length ? -1 : 0;
    return 0;
}

}  // namespace

int32_t string_compare(const void* a, int64_t a_size, const void* b, int64_t b_size) {
    int32_t r = compare_operands(operand_of(a, a_size), operand_of(b, b_size));
    if (a_size == -1) temp_string_release(static_cast<StringDesc*>(const_cast<void*>(a)));
    if (b_size == -1) temp_string_release(static_cast<StringDesc*>(const_cast<void*>(b)));
    return r;
}

void string_assign(StringDesc* dest, StringDesc* src) {
    uint64_t n = string_length(src);
    if (src && src != dest && string_resize(dest, n, false)) {
        if (n) std::memcpy(dest->data, src->data, n);
        dest->data[n] = 0;
    }
    temp_string_release(src);
}

int32_t temp_string_in_use() { return g_pool.used_count; }

bool ascii_equal_ignoring_case(const char* a, const char* b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (; *a && *b; ++a, ++b)
        if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

#pragma once
// Keys of the US layout with modifiers, and the key codes the window
// posts for them by the rules of the PC keyboard layer: the key press's
// extended code (when above 255), then the character ToAscii gives (unless
// Alt is held: that is a system character). One table for every back-end:
// the Windows test runs it through the real ToAscii and key translation,
// the X11 and Wayland tests through their keyboards.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

enum PcRuleModifier : uint8_t { RULE_SHIFT = 1, RULE_CTRL = 2, RULE_ALT = 4 };

struct PcKeyRule {
    const char* key;      // the key's keysym name, unshifted (X11 and xkbcommon name keys so)
    const char* shifted;  // its keysym with Shift
    uint8_t vk, scan;     // the Windows virtual key and scan code
    bool enhanced;
    uint8_t modifiers;  // PcRuleModifier bits
    std::vector<int32_t> posted;
    // Where Wine's keyboard layer answers otherwise than Windows' US
    // layout: Wine's answer, which its test of the table expects.
    std::optional<std::vector<int32_t>> on_wine;
};

// "ctrl+shift+" and so on, as xdotool and the rows' names write it.
inline std::string pc_rule_chord(const PcKeyRule& r) {
    std::string chord;
    if (r.modifiers & RULE_CTRL) chord += "ctrl+";
    if (r.modifiers & RULE_ALT) chord += "alt+";
    if (r.modifiers & RULE_SHIFT) chord += "shift+";
    return chord + r.key;
}

namespace pc_rules_detail {

constexpr int32_t ext(int32_t scan) { return scan * 256 + 255; }

struct KeyDef {
    const char* key;
    const char* shifted;
    uint8_t vk, scan;
    bool enhanced;
};

// What one key posts under each set of modifiers: none, Shift, Ctrl, Alt,
// Ctrl+Shift, Ctrl+Alt, Alt+Shift.
struct KeyRow {
    KeyDef key;
    std::vector<int32_t> posted[7];
};

constexpr uint8_t COMBINATIONS[7] = {
    0, RULE_SHIFT, RULE_CTRL, RULE_ALT, RULE_CTRL | RULE_SHIFT, RULE_CTRL | RULE_ALT, RULE_ALT | RULE_SHIFT};

// Wine's US layout (its keyboard layer without a display) types with Ctrl
// what Ctrl alone types also with Ctrl+Shift, Escape with Ctrl+Alt too,
// and "?" for Ctrl+2; Windows' layout types nothing for those.
struct WineDifference {
    const char* key;
    uint8_t modifiers;
    std::vector<int32_t> posted;
};
inline const WineDifference WINE_DIFFERENCES[] = {
    {"2", RULE_CTRL, {'?'}},
    {"bracketleft", RULE_CTRL | RULE_SHIFT, {27}},
    {"backslash", RULE_CTRL | RULE_SHIFT, {28}},
    {"space", RULE_CTRL | RULE_SHIFT, {' '}},
    {"BackSpace", RULE_CTRL | RULE_SHIFT, {127}},
    {"Escape", RULE_CTRL | RULE_SHIFT, {27}},
    {"Escape", RULE_CTRL | RULE_ALT, {ext(0x01)}},
};

}  // namespace pc_rules_detail

// The table, row by row. Alt with Return switches to full screen and is
// no key; it is left out.
inline const std::vector<PcKeyRule>& pc_key_rules() {
    using namespace pc_rules_detail;
    static const std::vector<PcKeyRule> rules = [] {
        const KeyRow rows[] = {
            {{"a", "A", 'A', 0x1E, false}, {{'a'}, {'A'}, {1}, {ext(0x1E)}, {1}, {}, {ext(0x1E)}}},
            {{"2", "at", '2', 0x03, false}, {{'2'}, {'@'}, {}, {ext(0x79)}, {0}, {}, {}}},
            {{"3", "numbersign", '3', 0x04, false}, {{'3'}, {'#'}, {}, {ext(0x7A)}, {}, {}, {}}},
            {{"6", "asciicircum", '6', 0x07, false}, {{'6'}, {'^'}, {}, {ext(0x7D)}, {30}, {}, {}}},
            {{"minus", "underscore", 0xBD, 0x0C, false}, {{'-'}, {'_'}, {}, {ext(0x82)}, {31}, {}, {}}},
            {{"bracketleft", "braceleft", 0xDB, 0x1A, false}, {{'['}, {'{'}, {27}, {ext(0x1A)}, {}, {}, {}}},
            {{"backslash", "bar", 0xDC, 0x2B, false}, {{'\\'}, {'|'}, {28}, {}, {}, {}, {}}},
            {{"space", "space", 0x20, 0x39, false}, {{' '}, {' '}, {' '}, {}, {}, {}, {}}},
            {{"Tab", "Tab", 0x09, 0x0F, false}, {{9}, {ext(0x0F), 9}, {}, {ext(0x0F)}, {}, {}, {ext(0x0F)}}},
            {{"BackSpace", "BackSpace", 0x08, 0x0E, false}, {{8}, {8}, {127}, {ext(0xE0)}, {}, {}, {ext(0xE0)}}},
            {{"Escape", "Escape", 0x1B, 0x01, false}, {{27}, {27}, {27}, {ext(0x01)}, {}, {}, {ext(0x01)}}},
            {{"Up", "Up", 0x26, 0x48, true},
             {{ext(0x48)}, {ext(0x48)}, {ext(0x8D)}, {ext(0x98)}, {ext(0x8D)}, {ext(0x98)}, {ext(0x98)}}},
            {{"Home", "Home", 0x24, 0x47, true},
             {{ext(0x47)}, {ext(0x47)}, {ext(0x77)}, {ext(0x97)}, {ext(0x77)}, {ext(0x97)}, {ext(0x97)}}},
            {{"Delete", "Delete", 0x2E, 0x53, true},
             {{ext(0x53)}, {ext(0x53)}, {ext(0x93)}, {ext(0xA3)}, {ext(0x93)}, {ext(0xA3)}, {ext(0xA3)}}},
            {{"F1", "F1", 0x70, 0x3B, false},
             {{ext(0x3B)}, {ext(0x54)}, {ext(0x5E)}, {ext(0x68)}, {ext(0x5E)}, {ext(0x68)}, {ext(0x68)}}},
            {{"F4", "F4", 0x73, 0x3E, false},
             {{ext(0x3E)}, {ext(0x57)}, {ext(0x61)}, {ext(0x6B)}, {ext(0x61)}, {ext(0x6B)}, {ext(0x6B)}}},
            {{"F10", "F10", 0x79, 0x44, false},
             {{ext(0x44)}, {ext(0x5D)}, {ext(0x67)}, {ext(0x71)}, {ext(0x67)}, {ext(0x71)}, {ext(0x71)}}},
        };
        std::vector<PcKeyRule> out;
        for (const KeyRow& row : rows)
            for (int i = 0; i < 7; ++i)
                out.push_back({row.key.key, row.key.shifted, row.key.vk, row.key.scan, row.key.enhanced,
                               COMBINATIONS[i], row.posted[i], std::nullopt});
        // Return and keypad Enter, without Alt.
        const KeyDef enters[] = {{"Return", "Return", 0x0D, 0x1C, false}, {"KP_Enter", "KP_Enter", 0x0D, 0x1C, true}};
        for (const KeyDef& k : enters) {
            out.push_back({k.key, k.shifted, k.vk, k.scan, k.enhanced, 0, {13}, std::nullopt});
            out.push_back({k.key, k.shifted, k.vk, k.scan, k.enhanced, RULE_SHIFT, {13}, std::nullopt});
            out.push_back({k.key, k.shifted, k.vk, k.scan, k.enhanced, RULE_CTRL, {10}, std::nullopt});
            out.push_back({k.key, k.shifted, k.vk, k.scan, k.enhanced, RULE_CTRL | RULE_SHIFT, {}, std::nullopt});
        }
        for (PcKeyRule& r : out)
            for (const WineDifference& d : WINE_DIFFERENCES)
                if (std::strcmp(d.key, r.key) == 0 && d.modifiers == r.modifiers) r.on_wine = d.posted;
        return out;
    }();
    return rules;
}

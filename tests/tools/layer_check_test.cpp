// The layer check against a small house of its own: which includes pass,
// which are refused and why, and a violation planted in a tree on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/scratch_dir.h"
#include "tools/layer_check/layer_check.h"

namespace {

const char* const FLOORS =
    "# floor | folders | floors it may use\n"
    "base | base posix:base/posix windows:base/windows |\n"
    "screen | screen | base\n"
    "console | console posix:console/terminal | base\n"
    "window | window posix:window/posix | screen\n"
    "x11 | posix:window/x11 | window\n"
    "app | app | screen\n";

FloorTable table() {
    FloorTable t;
    std::string error;
    EXPECT_TRUE(floor_table_parse(FLOORS, t, error)) << error;
    return t;
}

TEST(LayerCheck, IncludesFollowTheArrows) {
    struct Case {
        const char* file;
        const char* included;
        const char* refusal;  // "" when allowed
    };
    const Case cases[] = {
        {"screen/a.cpp", "base/b.h", ""},              // one floor down
        {"app/a.cpp", "base/b.h", ""},                 // further down
        {"window/posix/a.cpp", "window/b.h", ""},      // a platform part uses its floor's shared code
        {"window/x11/a.cpp", "window/posix/b.h", ""},  // a platform's floor uses that platform's part
        {"screen/a.cpp", "screen/b.h", ""},            // its own folder
        {"base/a.cpp", "screen/b.h", "floor base may not use floor screen"},
        {"screen/a.cpp", "console/b.h", "floor screen may not use floor console"},  // sideways
        {"app/a.cpp", "window/b.h", "floor app may not use floor window"},
        {"base/a.cpp", "base/posix/b.h", "shared code includes a platform's folder"},
        {"window/a.cpp", "window/x11/b.h", "shared code includes a platform's folder"},
        {"base/windows/a.cpp", "base/posix/b.h", "one platform's code includes another's"},
        {"screen/a.cpp", "screen/new/b.h", "includes from a folder no floor names"},
    };
    const FloorTable t = table();
    for (const Case& c : cases) {
        const auto findings = layer_check_file(t, c.file, std::string("#include \"") + c.included + "\"\n");
        if (*c.refusal == 0) {
            EXPECT_TRUE(findings.empty()) << c.file << " -> " << c.included << ": " << findings.front().message;
        } else {
            ASSERT_EQ(findings.size(), 1u) << c.file << " -> " << c.included;
            EXPECT_EQ(findings[0].line, 1);
            EXPECT_NE(findings[0].message.find(c.refusal), std::string::npos) << findings[0].message;
        }
    }
}

TEST(LayerCheck, ReadsEveryFormOfIncludeAndOnlyThose) {
    const FloorTable t = table();
    const std::string text =
        "// #include \"screen/in_a_comment.h\" is not an include\n"
        "#include <screen/angled.h>\n"
        "#include \"local.h\"\n"
        "#include \"tools/elsewhere.h\"\n"
        "  #  include   \"screen/indented.h\"\n";
    const auto findings = layer_check_file(t, "base/a.cpp", text);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line, 5);
}

TEST(LayerCheck, AFileOutsideEveryFloorIsReported) {
    const auto findings = layer_check_file(table(), "screen/stray/a.cpp", "");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].message, "no floor names its folder");
}

TEST(LayerCheck, MalformedTablesAreRefused) {
    FloorTable t;
    std::string error;
    EXPECT_FALSE(floor_table_parse("base base\n", t, error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    EXPECT_FALSE(floor_table_parse("screen | screen | nowhere\n", t, error));
    EXPECT_NE(error.find("nowhere"), std::string::npos) << error;
}

void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// A tree that keeps to its floors passes; the same tree with one include
// planted against the arrows fails on exactly that line.
TEST(LayerCheck, APlantedViolationInATreeIsFound) {
    ScratchDir dir;
    const std::filesystem::path root = dir.path();
    write(root / "base/base.h", "#pragma once\n");
    write(root / "screen/screen.cpp", "#include \"base/base.h\"\n");
    write(root / "window/x11/x11.cpp", "#include \"window/posix/posix.h\"\n#include \"screen/screen.h\"\n");
    write(root / "window/posix/posix.h", "#include \"window/window.h\"\n");
    write(root / "tools/tool.cpp", "#include \"app/app.h\"\n");  // not a floor's folder
    const FloorTable t = table();
    EXPECT_TRUE(layer_check_tree(t, root.string()).empty());

    write(root / "base/base.cpp", "#include \"base/base.h\"\n#include \"screen/screen.h\"\n");
    const auto findings = layer_check_tree(t, root.string());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].file, "base/base.cpp");
    EXPECT_EQ(findings[0].line, 2);
}

}  // namespace

// Every example program runs to its expected output.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness.hpp"

using namespace b21test;
namespace fs = std::filesystem;

namespace {

TEST(Examples, ProduceTheirExpectedOutput) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(B21_EXAMPLES)) {
        const fs::path program = entry.path();
        if (program.extension() != ".b21") continue;
        fs::path expected = program, input = program;
        expected.replace_extension(".out");
        input.replace_extension(".in");
        ASSERT_TRUE(fs::exists(expected)) << program << " has no .out file";
        const Result r = runText(readFileBytes(program), fs::exists(input) ? readFileBytes(input) : "");
        EXPECT_EQ(r.out, readFileBytes(expected)) << program;
        EXPECT_EQ(r.status, 0) << program;
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "console.hpp"
#include "loader.hpp"
#include "machine.hpp"

namespace {

std::string digits(std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) s += "01"[i % 2];
    return s;
}

TEST(BinToDec, ReadsBaseTwoMostSignificantFirst) {
    EXPECT_EQ(binToDec("11111", 0, 5), 31);
    EXPECT_EQ(binToDec("11111111", 0, 8), 255);
    EXPECT_EQ(binToDec("10000000", 0, 8), 128);
    EXPECT_EQ(binToDec("xx00000101", 2, 8), 5);
}

TEST(BinToDec, FoldsOtherCharactersByTheSameRule) {
    EXPECT_EQ(binToDec("00000002", 0, 8), 2);  // like 00000010
    EXPECT_EQ(binToDec("2", 0, 1), 2);
    EXPECT_EQ(binToDec("\n", 0, 1), 10 - 48);
}

TEST(BinToDec, WidthZeroOrLessGivesZero) {
    EXPECT_EQ(binToDec("111", 0, 0), 0);
    EXPECT_EQ(binToDec("111", 0, -3), 0);
}

TEST(LoadProg, DecodesTheThreeFields) {
    const auto code = loadProg("001110000000001001000");
    ASSERT_EQ(code.size(), 1u);
    EXPECT_EQ(code[0].opcode, 7);
    EXPECT_EQ(code[0].arg1, 0);
    EXPECT_EQ(code[0].arg2, 72);
    EXPECT_EQ(LENCODE, 1u);
}

TEST(LoadProg, CountsWholeInstructionsOnly) {
    const std::pair<std::size_t, uint32_t> cases[] = {{0, 0}, {20, 0}, {21, 1}, {41, 1}, {42, 2}, {63, 3}};
    for (auto [length, expected] : cases) {
        EXPECT_EQ(loadProg(digits(length)).size(), expected) << length << " characters";
        EXPECT_EQ(LENCODE, expected) << length << " characters";
    }
}

TEST(LoadProg, TrailingLineEndIsIgnored) {
    const std::string two = "001110000000001001000" "000000000000100000010";
    for (const char* tail : {"\n", "\r\n"}) {
        const auto plain = loadProg(two);
        const auto withTail = loadProg(two + tail);
        ASSERT_EQ(withTail.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(withTail[i].opcode, plain[i].opcode);
            EXPECT_EQ(withTail[i].arg1, plain[i].arg1);
            EXPECT_EQ(withTail[i].arg2, plain[i].arg2);
        }
    }
}

TEST(LoadProg, LineEndBetweenInstructionsShiftsTheRest) {
    // SET 0 72 then SET 1 105, one per line: the second is read one character late.
    const auto code = loadProg("001110000000001001000\n001110000000101101001\n");
    ASSERT_EQ(code.size(), 2u);
    EXPECT_EQ(code[0].opcode, 7);
    EXPECT_EQ(code[0].arg2, 72);
    // "\n0011" folds into the opcode field: -605, whose low 8 bits are 163.
    EXPECT_EQ(code[1].opcode, 163);
    EXPECT_NE(code[1].arg1, 1);
}

TEST(LoadProg, StrayCharactersFoldIntoLowEightBits) {
    const auto code = loadProg("2222222222222222222222");
    ASSERT_EQ(code.size(), 1u);
    EXPECT_EQ(code[0].opcode, static_cast<uint8_t>(binToDec("22222", 0, 5)));
    EXPECT_EQ(code[0].arg1, static_cast<uint8_t>(binToDec("22222222", 0, 8)));
}

TEST(AffCode, ListsFieldsAsSignedBytes) {
    const std::vector<Instruction> code = {{7, 0, 200}, {31, 255, 128}, {0, 0, 0}};
    testing::internal::CaptureStdout();
    affCode(code, 2);
    flushOutput();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "7 0 -56\n31 -1 -128\n");
}

TEST(AffCode, SizeZeroWritesNothing) {
    testing::internal::CaptureStdout();
    affCode({{1, 2, 3}}, 0);
    flushOutput();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(OpcodeTable, NamesFollowTheOpcodes) {
    EXPECT_EQ(OPCODES[0].name, "ADD");
    EXPECT_EQ(OPCODES[13].name, "LABEL");
    EXPECT_EQ(OPCODES[31].name, "SETCHUNK");
    for (auto handler : INSTRUCTIONS) EXPECT_NE(handler, nullptr);
}

}  // namespace

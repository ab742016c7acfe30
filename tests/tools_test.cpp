// The assembler and the disassembler, as library calls and as commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "assembler.hpp"
#include "harness.hpp"

using namespace b21test;
namespace fs = std::filesystem;

namespace {

TEST(Assembler, EncodesMnemonicsAndOperands) {
    const Assembled a = assemble("set 0, 3   ; comment\n\n  LaBeL 1 # another\nJUMP 1,1\nRETURN\nprint 7 99\n");
    EXPECT_TRUE(a.errors.empty());
    EXPECT_EQ(a.bits, bits(7, 0, 3) + bits(13, 1, 0) + bits(25, 1, 1) + bits(27, 0, 0) + bits(6, 7, 99));
}

TEST(Assembler, NamedLabelsTakeKeysNoNumberUses) {
    const Assembled a = assemble("LABEL 0\nGOTO @end\nJUMP 4 @loop\nLABEL @loop\nCALL @end\nLABEL 1\nLABEL @end");
    ASSERT_TRUE(a.errors.empty()) << a.errors.front().message;
    // @end is seen first and gets key 2, @loop key 3: keys 0 and 1 are taken by number.
    EXPECT_EQ(a.bits, bits(13, 0, 0) + bits(14, 2, 0) + bits(25, 4, 3) + bits(13, 3, 0) + bits(26, 2, 0) +
                          bits(13, 1, 0) + bits(13, 2, 0));
}

TEST(Assembler, CellNamesStandForTheirNumbers) {
    const Assembled a = assemble("SET counter 5\n.cell counter 10\n.cell step 2\nDECR counter, step");
    ASSERT_TRUE(a.errors.empty()) << a.errors.front().message;
    EXPECT_EQ(a.bits, bits(7, 10, 5) + bits(29, 10, 2));
}

TEST(Assembler, TailDirectiveAppendsRawDigits) {
    EXPECT_EQ(assemble("RETURN\n.tail 0101").bits, bits(27, 0, 0) + "0101");
    const Assembled late = assemble(".tail 01\nRETURN");
    ASSERT_EQ(late.errors.size(), 1u);
    EXPECT_EQ(late.errors[0].message, "instruction after .tail");
}

TEST(Assembler, ReportsEveryProblemWithItsPosition) {
    const std::string source =
        "FOO 1\n"              // 1
        "SET 0 256\n"          // 2
        "ADD 1\n"              // 3
        "PRINT 1 2 3\n"        // 4
        "SET nothing 1\n"      // 5
        "GOTO @nowhere\n"      // 6
        "LABEL @twice\n"       // 7
        "LABEL @twice\n"       // 8
        ".cell c 1\n"          // 9
        ".cell c 2\n"          // 10
        "SET 1x 0\n"           // 11
        "SET @twice 0\n"       // 12
        ".tail 012\n"          // 13
        "INCR 0 -1\n"          // 14
        ".cell x\n"            // 15
        ".cell 9x 1\n"         // 16
        ".cell y 300\n";       // 17
    const Assembled a = assemble(source);
    EXPECT_EQ(a.bits, "");
    std::vector<std::string> seen;
    for (const AsmError& e : a.errors) seen.push_back(std::to_string(e.line) + ":" + std::to_string(e.column) + ": " + e.message);
    const std::vector<std::string> expected = {
        "1:1: unknown mnemonic 'FOO'",
        "2:7: value 256 out of range 0-255",
        "3:1: ADD takes 2 operands, not 1",
        "4:1: PRINT takes 1 to 2 operands, not 3",
        "5:5: unknown name 'nothing'",
        "6:6: unknown label '@nowhere'",
        "8:7: duplicate label '@twice'",
        "10:7: duplicate cell name 'c'",
        "11:5: invalid operand '1x'",
        "12:5: label name '@twice' where a cell or a number is expected",
        "13:1: .tail takes 1 to 20 digits 0 and 1",
        "14:8: invalid operand '-1'",
        "15:1: .cell takes a name and a number",
        "16:7: invalid cell name '9x'",
        "17:9: cell number '300' out of range 0-255",
    };
    EXPECT_EQ(seen, expected);
}

TEST(Assembler, MoreThan256LabelKeysIsAnError) {
    std::string source = "LABEL 7\n";
    for (int i = 0; i < 256; ++i) source += "LABEL @l" + std::to_string(i) + "\n";
    const Assembled a = assemble(source);
    ASSERT_EQ(a.errors.size(), 1u);
    EXPECT_EQ(a.errors[0].line, 257);
    EXPECT_EQ(a.errors[0].message, "too many label keys: '@l255' would need a 257th");
    source.erase(0, 8);  // without the numeric key, 256 names fit
    EXPECT_TRUE(assemble(source).errors.empty());
}

TEST(Disassembler, RoundTripsEveryFileOfZerosAndOnes) {
    std::mt19937 random(21);
    for (int trial = 0; trial < 300; ++trial) {
        std::string text(random() % 400, '0');
        for (char& c : text) c = random() % 2 ? '1' : '0';
        const Disassembled d = disassemble(text);
        const Assembled back = assemble(d.listing);
        ASSERT_TRUE(back.errors.empty()) << back.errors.front().message << "\n" << d.listing;
        ASSERT_EQ(back.bits, text) << d.listing;
        EXPECT_EQ(d.diagnostics.empty(), text.size() % 21 == 0) << text.size();
    }
}

TEST(Disassembler, ListsIndexDigitsAndInstruction) {
    const Disassembled d = disassemble(bits(7, 0, 3) + bits(27, 0, 0) + "\n");
    EXPECT_EQ(d.listing,
              "SET 0, 3                ;     0  001110000000000000011\n"
              "RETURN                  ;     1  110110000000000000000\n");
    EXPECT_TRUE(d.diagnostics.empty());  // a final line end is part of the format
}

TEST(Disassembler, DiagnosesWhatTheInterpreterWouldAccept) {
    const std::string one = bits(7, 0, 72);
    struct Case {
        std::string text;
        std::string diagnostic;
    };
    const Case cases[] = {
        {one.substr(0, 7) + "2" + one.substr(8),
         "character 7: '2' (code 50) is not 0 or 1; it folds into the arg1 of instruction 0, giving 64"},
        {"0011" + std::string("x") + one.substr(5),
         "character 4: 'x' (code 120) is not 0 or 1; it folds into the opcode of instruction 0, giving 78"},
        {one + "\n" + one + one.substr(0, 20),
         "character 21: separator '\\n' in instruction 1: this and every later instruction is read shifted by one character"},
        {one + "\n" + one + one.substr(0, 20), "instruction 1 (character 21): opcode 163 is outside 0-31; b21 refuses this file"},
        {one + "0101", "characters 21-24: a tail of 4 characters after the last instruction is ignored"},
        {one + "ab\n", "characters 21-23: a tail of 3 characters after the last instruction is ignored"},
    };
    for (const Case& c : cases) {
        const auto d = disassemble(c.text).diagnostics;
        EXPECT_NE(std::find(d.begin(), d.end(), c.diagnostic), d.end()) << c.diagnostic << "\nnot among:\n"
                                                                         << (d.empty() ? "" : d.front());
    }
}

TEST(Tools, AssembleRunDisassemble) {
    const std::string source = writeTemp("greet.asm", ".cell letter 0\nSET letter 72\nPRINT letter\nSET letter 105\nPRINT letter\n");
    const Result assembled = runTool(B21ASM_PATH, quoted(source));
    EXPECT_EQ(assembled.status, 0);
    EXPECT_EQ(assembled.out, "");
    const std::string program = tempDir() + "/greet.b21";
    ASSERT_TRUE(fs::exists(program));
    EXPECT_EQ(runArgs(quoted(program)).out, "Hi");
    const Result listed = runTool(B21DIS_PATH, quoted(program));
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(runTool(B21ASM_PATH, "- -o -", listed.out).out, readFileBytes(program));
}

TEST(Tools, AssemblerErrorsWriteNothing) {
    const std::string source = writeTemp("bad.asm", "SET 0 1\nNOPE\nSET 0 300\n");
    const Result r = runTool(B21ASM_PATH, quoted(source) + " -o " + quoted(tempDir() + "/bad-out.b21"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, source + ":2:1: unknown mnemonic 'NOPE'\n" + source + ":3:7: value 300 out of range 0-255\n");
    EXPECT_FALSE(fs::exists(tempDir() + "/bad-out.b21"));
    EXPECT_EQ(runTool(B21ASM_PATH, "").status, 2);
    const Result missing = runTool(B21ASM_PATH, quoted(tempDir() + "/missing.asm"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, tempDir() + "/missing.asm: cannot read this file\n");
    const std::string good = writeTemp("good.asm", "RETURN\n");
    const Result unwritable = runTool(B21ASM_PATH, quoted(good) + " -o " + quoted(tempDir()));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, tempDir() + ": cannot write this file\n");
}

TEST(Tools, DisassemblerStatusTellsWhetherItFoundSomething) {
    const std::string shifted = writeTemp("shifted.b21", bits(7, 0, 72) + "\n" + bits(6, 0, 0) + "\n");
    const Result r = runTool(B21DIS_PATH, quoted(shifted));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(shifted + ": character 21: separator"), std::string::npos) << r.err;
    EXPECT_EQ(runTool(B21DIS_PATH, "").status, 2);
    EXPECT_EQ(runTool(B21DIS_PATH, quoted(tempDir() + "/missing.b21")).status, 1);
}

// Each listing in examples/ and bench/ assembles to the program file beside it,
// and that file disassembles cleanly and back to itself.
TEST(Tools, ProgramsInTheRepositoryRoundTrip) {
    int checked = 0;
    for (const char* dir : {B21_EXAMPLES, B21_BENCH}) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().extension() != ".asm") continue;
            fs::path program = entry.path();
            program.replace_extension(".b21");
            const Assembled a = assemble(readFileBytes(entry.path()));
            ASSERT_TRUE(a.errors.empty()) << entry.path() << ": " << a.errors.front().message;
            if (fs::exists(program)) {
                EXPECT_EQ(a.bits, readFileBytes(program)) << program << " is out of date";
            }
            const Disassembled d = disassemble(a.bits);
            EXPECT_TRUE(d.diagnostics.empty()) << entry.path();
            EXPECT_EQ(assemble(d.listing).bits, a.bits) << entry.path();
            ++checked;
        }
    }
    EXPECT_GE(checked, 4);
}

}  // namespace

// Start-up, the ways a run ends, and their exit statuses.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "harness.hpp"

using namespace b21test;

namespace {

TEST(CommandLine, NoArgumentIsAUsageError) {
    const Result r = runArgs("");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "usage: b21 PROGRAM\n");
    EXPECT_EQ(r.status, 2);
}

TEST(CommandLine, ArgumentsAfterTheFirstAreIgnored) {
    const std::string program = writeTemp("hi.b21", encode("SET 0 72\nPRINT 0"));
    const Result r = runArgs("'" + program + "' extra 'and more'");
    EXPECT_EQ(r.out, "H");
    EXPECT_EQ(r.status, 0);
}

TEST(CommandLine, FileThatCannotBeReadIsReported) {
    const std::string dir = tempDir() + "/a-directory";
    ::mkdir(dir.c_str(), 0755);
    for (const std::string& path : {tempDir() + "/no-such-file", dir}) {
        const Result r = runArgs("'" + path + "'");
        EXPECT_EQ(r.out, "Fichier inexistant\n") << path;
        EXPECT_EQ(r.err, "") << path;
        EXPECT_EQ(r.status, 1) << path;
    }
}

TEST(CommandLine, ProgramsShorterThanOneInstructionDoNothing) {
    for (std::size_t length : {0, 1, 20}) {
        const Result r = runText(std::string(length, '1'));
        EXPECT_EQ(r.out, "") << length;
        EXPECT_EQ(r.status, 0) << length;
    }
}

TEST(CommandLine, InvalidOpcodeRefusesTheFileBeforeAnythingRuns) {
    // The opcode field "11112" folds to 2 * 15 + 2 = 32, one past the table.
    const std::string program = encode("SET 0 72\nPRINT 0") + "11112" + std::string(16, '0') + encode("PRINT 0");
    const Result r = runText(program);
    EXPECT_EQ(r.out, "Invalid opcode 32 at instruction 2\n");
    EXPECT_EQ(r.status, 1);
}

TEST(CommandLine, LineEndInsideTheProgramShowsAsInvalidOpcode) {
    // One instruction per line: the second is read from "\n0011...", opcode 163.
    const Result r = runText(encode("SET 0 72") + "\n" + encode("PRINT 0") + "\n");
    EXPECT_EQ(r.out, "Invalid opcode 163 at instruction 1\n");
    EXPECT_EQ(r.status, 1);
}

TEST(CommandLine, TrailingLineEndsAreIgnored) {
    for (const char* tail : {"\n", "\r\n"}) {
        const Result r = runText(encode("SET 0 79\nPRINT 0\nSET 0 75\nPRINT 0") + tail);
        EXPECT_EQ(r.out, "OK");
        EXPECT_EQ(r.status, 0);
    }
}

TEST(Run, CountdownFromTheFormatDescription) {
    const std::string program =
        "001110000000000000011" "011010000000100000000" "001010000000000000000" "111010000000000000001"
        "001110000000100000000" "000000000000100000000" "110000000000100000000" "110010000000100000001";
    const Result r = runText(program);
    EXPECT_EQ(r.out, "321");
    EXPECT_EQ(r.status, 0);
}

TEST(Run, OneInstructionRunsExactlyOnce) {
    const Result r = run("PRINTNUM 0");
    EXPECT_EQ(r.out, "0");
    EXPECT_EQ(r.status, 0);
}

TEST(Run, DivisionByZeroStopsTheRunAfterWhatWasWritten) {
    for (const char* op : {"DIV", "MOD"}) {
        const Result r = run(std::string("SET 0 79\nPRINT 0\nSET 1 9\n") + op + " 1 2\nPRINT 0");
        EXPECT_EQ(r.out, "ODivision by zero at instruction 3\n") << op;
        EXPECT_EQ(r.status, 1) << op;
    }
}

TEST(Run, FailedWriteIsNotSuccess) {
    const Result r = runText(encode("SET 0 72\nPRINT 0"), "", {.redirectOut = "> /dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write standard output"), std::string::npos) << r.err;
    const Result quiet = runText(encode("SET 0 72"), "", {.redirectOut = "> /dev/full"});
    EXPECT_EQ(quiet.status, 0);  // nothing was written, so nothing failed
}

TEST(Run, EveryCellAndTheChunkStartAtZero) {
    // Cell 7 reads 0, so SETCHUNK keeps chunk 0, where SET wrote.
    const Result r = run("SET 9 5\nSETCHUNK 7\nPRINTNUM 0\nPRINTNUM 128\nPRINTNUM 255\nPRINTNUM 9");
    EXPECT_EQ(r.out, "0005");
}

}  // namespace

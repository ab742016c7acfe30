// Labels, jumps, subroutine calls and the stacks, seen from running programs.
#include <gtest/gtest.h>

#include "harness.hpp"

using namespace b21test;

namespace {

// Cells 65.. hold the letters A.., so PRINT 65 writes "A" and so on.
const std::string LETTERS = "SET 65 65\nSET 66 66\nSET 67 67\nSET 68 68\nSET 69 69\nSET 88 88\n";

TEST(Jumps, GotoGoesForwardAndBackward) {
    const Result r = run(LETTERS +
                         "GOTO 2\n"
                         "LABEL 1\nPRINT 66\nGOTO 3\n"
                         "LABEL 2\nPRINT 65\nGOTO 1\n"
                         "LABEL 3\nPRINT 67");
    EXPECT_EQ(r.out, "ABC");
}

TEST(Jumps, FirstLabelWithTheKeyWins) {
    // The second pass of GOTO 7 comes back to the first LABEL 7, never the later one.
    const Result twice = run(LETTERS + "SET 1 2\nGOTO 7\nLABEL 7\nPRINT 65\nDECR 1 1\nJUMP 1 8\nGOTO 7\n"
                                       "LABEL 7\nPRINT 88\nLABEL 8");
    EXPECT_EQ(twice.out, "AA");
}

TEST(Jumps, LabelAtIndexZeroGoesOnAtIndexOne) {
    const Result r = run("LABEL 0\nINCR 0 1\nPRINTNUM 0\nSET 1 3\nEQ 1 0\nJUMP 1 0");
    EXPECT_EQ(r.out, "123");
}

TEST(Jumps, JumpToTheLastInstructionEndsTheRun) {
    for (const char* jump : {"GOTO 5", "JUMP 0 5", "CALL 5"}) {
        const Result r = run(LETTERS + jump + "\nPRINT 88\nLABEL 5");
        EXPECT_EQ(r.out, "") << jump;
        EXPECT_EQ(r.status, 0) << jump;
    }
}

TEST(Jumps, JumpTestsForZeroOnly) {
    const Result r = run(LETTERS +
                         "SET 1 1\nJUMP 1 1\nPRINT 65\nLABEL 1\n"      // 1: no jump
                         "SET 1 255\nJUMP 1 2\nPRINT 66\nLABEL 2\n"    // 255: no jump
                         "SET 1 0\nJUMP 1 3\nPRINT 88\nLABEL 3\n"      // 0: jumps
                         "JUMP 1 77\nPRINT 67\n"                       // no such label: goes on, silently
                         "GOTO 78\nPRINT 68");
    EXPECT_EQ(r.out, "ABCD");
}

TEST(Jumps, KeysZeroAndTwoFiftyFiveAreKeysLikeAnyOther) {
    const Result r = run(LETTERS + "GOTO 255, 9\nPRINT 88\nLABEL 255\nGOTO 0\nPRINT 88\nLABEL 0\nPRINT 65");
    EXPECT_EQ(r.out, "A");
    // A LABEL's second operand, like a GOTO's, is no part of the key.
    const Result second = run(LETTERS + "GOTO 5, 17\nPRINT 88\nLABEL 5, 200\nPRINT 66");
    EXPECT_EQ(second.out, "B");
}

TEST(Jumps, LoopWithoutExitRunsUntilStopped) {
    const Result r = runText(encode(LETTERS + "LABEL 1\nPRINT 65\nPRINT 66\nGOTO 1"), "", {.wrapper = "timeout 0.5"});
    EXPECT_EQ(r.status, 124);  // timeout's status: it was still running
    ASSERT_GE(r.out.size(), 2u);
    for (std::size_t i = 0; i + 1 < r.out.size(); i += 2) ASSERT_EQ(r.out.substr(i, 2), "AB") << i;
}

TEST(Calls, ReturnGoesOnAfterTheCall) {
    const Result r = run(LETTERS + "CALL 7\nPRINT 66\nRETURN\nPRINT 88\nLABEL 7\nPRINT 65\nRETURN\nPRINT 88");
    EXPECT_EQ(r.out, "AB");
    EXPECT_EQ(r.status, 0);
}

TEST(Calls, ReturnWithNothingPendingEndsTheRun) {
    const Result first = run("RETURN\nSET 0 88\nPRINT 0");
    EXPECT_EQ(first.out, "");
    EXPECT_EQ(first.status, 0);
    // Running into a subroutine without a CALL: its RETURN ends the program.
    const Result into = run(LETTERS + "LABEL 7\nPRINT 65\nRETURN\nPRINT 88");
    EXPECT_EQ(into.out, "A");
    EXPECT_EQ(into.status, 0);
}

TEST(Calls, NestedCallsUnwindInOrder) {
    const Result r = run(LETTERS +
                         "CALL 1\nPRINT 69\nRETURN\n"
                         "LABEL 1\nPRINT 65\nCALL 2\nPRINT 68\nRETURN\n"
                         "LABEL 2\nPRINT 66\nCALL 3\nPRINT 67\nRETURN\n"
                         "LABEL 3\nRETURN");
    EXPECT_EQ(r.out, "ABCDE");
}

TEST(Calls, RecursionUnwindsOneLevelPerReturn) {
    // Prints the counter on the way down and on the way back: 3 2 1 then 1 2 3.
    const Result r = run("SET 0 3\nCALL 1\nRETURN\n"
                         "LABEL 1\nPRINTNUM 0\nPUSH 0\nDECR 0 1\nSET 1 0\nADD 1 0\nNOT 1\nJUMP 1 2\nGOTO 3\n"
                         "LABEL 2\nCALL 1\nLABEL 3\nPOP 0\nPRINTNUM 0\nRETURN");
    EXPECT_EQ(r.out, "321123");
}

TEST(Calls, CallToAMissingLabelRunsWhatFollowsTwice) {
    const Result r = run(LETTERS + "CALL 9\nPRINT 65\nRETURN");
    EXPECT_EQ(r.out, "AA");
    EXPECT_EQ(r.status, 0);
}

TEST(Calls, GotoOutOfASubroutineLeavesItsEntryForTheNextReturn) {
    const Result r = run(LETTERS + "CALL 1\nPRINT 67\nRETURN\nLABEL 1\nPRINT 65\nGOTO 2\nPRINT 88\nLABEL 2\nPRINT 66\nRETURN");
    EXPECT_EQ(r.out, "ABC");
}

// Runs `body` (which starts with LABEL 3) 16 * 256 * 256 times, counting
// down in cells 0, 1 and 2; cell 5 is scratch.
std::string millionTimes(const std::string& body) {
    return "SET 2 16\n" + body +
           "DECR 0 1\nSET 5 0\nADD 5 0\nNOT 5\nJUMP 5 3\n"
           "DECR 1 1\nSET 5 0\nADD 5 1\nNOT 5\nJUMP 5 3\n"
           "DECR 2 1\nSET 5 0\nADD 5 2\nNOT 5\nJUMP 5 3\n";
}

// Leaves 16 * 256 * 256 calls pending; with `unwind`, then returns from all
// of them, printing a dot for each.
std::string millionPendingCalls(bool unwind) {
    return "SET 46 46\n" + millionTimes("LABEL 3\nCALL 9\nLABEL 9\nJUMP 6 10\nPRINT 46\nRETURN\nLABEL 10\n") +
           (unwind ? "SET 6 1\nRETURN\n" : "");
}

TEST(Calls, MillionsOfPendingCallsUnwindCompletely) {
    const Result r = run(millionPendingCalls(true));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(16 * 256 * 256, '.'));
}

TEST(Calls, MillionsOfPendingCallsAtTheEndAreDroppedQuietly) {
    const Result r = run(millionPendingCalls(false));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST(DataStack, LastInFirstOutAcrossChunks) {
    const Result r = run("SET 1 10\nSET 2 200\nPUSH 1\nPUSH 2\nSET 9 1\nSETCHUNK 9\nPOP 3\nPOP 4\n"
                         "PRINTNUM 3\nSET 0 32\nPRINT 0\nPRINTNUM 4\nSET 5 0\nSETCHUNK 5\nPRINTNUM 3");
    EXPECT_EQ(r.out, "200 100");
}

TEST(DataStack, EmptyPopsSayStackIsEmptyAndStore255) {
    const Result r = run("POP 0\nPRINTNUM 0\nPOP 1\nSET 2 7\nPUSH 2\nPOP 3\nPRINTNUM 1\nPRINTNUM 3");
    EXPECT_EQ(r.out, "Stack is empty!\n255Stack is empty!\n2557");
    EXPECT_EQ(r.status, 0);
}

TEST(DataStack, MillionsOfEntriesLeftAtTheEndProduceNoOutput) {
    const Result r = run(millionTimes("LABEL 3\nPUSH 0\n"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

// With too little memory, pushing or calling without end fails cleanly.
TEST(OutOfMemory, EndlessPushOrRecursionStopsWithAMessage) {
    SKIP_UNDER_SANITIZERS();
    for (const char* loop : {"LABEL 1\nPUSH 0\nGOTO 1", "LABEL 1\nCALL 1"}) {
        const Result r = runText(encode(std::string("SET 0 83\nPRINT 0\n") + loop), "",
                                 {.shellPrefix = "ulimit -v 200000;"});
        EXPECT_EQ(r.out, "SMemory allocation failed!\n") << loop;
        EXPECT_EQ(r.status, 1) << loop;
    }
}

}  // namespace

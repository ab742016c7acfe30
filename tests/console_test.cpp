// Output of cells, and lines read from standard input.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <vector>

#include "harness.hpp"

using namespace b21test;

namespace {

TEST(Output, NumbersInDecimalWithNothingAround) {
    const Result r = run("PRINTNUM 0\nSET 0 7\nPRINTNUM 0\nSET 0 255\nPRINTNUM 0\nSET 0 128\nPRINTNUM 0\n"
                         "SET 1 1\nSET 2 23\nPRINTNUM 1\nPRINTNUM 2");
    EXPECT_EQ(r.out, "07255128123");
}

TEST(Output, CharactersAsRawBytes) {
    const Result r = run("SET 0 72\nSET 1 105\nSET 2 10\nSET 4 200\nPRINT 0\nPRINT 1, 99\nPRINT 2\nPRINT 3\nPRINT 4\nPRINT 4");
    EXPECT_EQ(r.out, std::string("Hi\n\0\xC8\xC8", 6));
}

TEST(Output, ManyMessagesKeepTheirPlaceInLongOutput) {
    // More output than one buffer holds, with messages interleaved.
    std::string listing = "SET 0 120\n";
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        listing += "PRINT 0\nPRINT 0\nPRINT 0\nPRINT 0\nPOP 9\n";
        expected += "xxxxStack is empty!\n";
    }
    std::string program = encode(listing);
    std::string all;
    for (int i = 0; i < 20; ++i) all += program;
    std::string allExpected;
    for (int i = 0; i < 20; ++i) allExpected += expected;
    const Result r = runText(all);
    EXPECT_EQ(r.out, allExpected);
}

// Runs INPUTNUM once per line and prints each value on its own line.
std::vector<int> inputNumbers(const std::string& stdinText, int reads) {
    std::string listing = "SET 200 10\n";
    for (int i = 0; i < reads; ++i) listing += "INPUTNUM 0\nPRINTNUM 0\nPRINT 200\n";
    const Result r = run(listing, stdinText);
    std::istringstream lines(r.out);
    std::vector<int> values;
    for (int v; lines >> v;) values.push_back(v);
    return values;
}

TEST(InputNum, ReadsLikeAtoiModulo256) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"42", 42},   {"  -7x", 249}, {"300", 44},  {"-1", 255},  {"256", 0},        {"-256", 0},
        {"-300", 212}, {"+5", 5},     {"1 2", 1},   {"abc", 0},   {"-", 0},          {"", 0},
        {"\t\v\f\r 9", 9}, {"99999999999", 255}, {"-99999999999", 1}, {"0007", 7},
    };
    std::string stdinText;
    for (const auto& [line, value] : cases) stdinText += line + "\n";
    const auto values = inputNumbers(stdinText, static_cast<int>(cases.size()));
    ASSERT_EQ(values.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(values[i], cases[i].second) << "line '" << cases[i].first << "'";
}

TEST(InputNum, TheReaderKeeps255CharactersOfALine) {
    // Digits past the 255th character never reach the conversion.
    const std::string stdinText = std::string(253, '0') + "12\n" + std::string(254, '0') + "12\n" +
                                  std::string(298, '0') + "12\n" + "8\n";
    EXPECT_EQ(inputNumbers(stdinText, 4), (std::vector<int>{12, 1, 0, 8}));
}

TEST(InputNum, EndOfInputGivesZeroAsOftenAsAsked) {
    EXPECT_EQ(inputNumbers("", 3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(inputNumbers("12", 2), (std::vector<int>{12, 0}));  // a last line without a line end
}

// Fills cells 0..19 with 46 ('.'), runs INPUT 5, n on each line and prints the 20 cells.
std::string inputCells(const std::vector<int>& counts, const std::string& stdinText) {
    std::string listing = "SET 200 10\n";
    for (int i = 0; i < 20; ++i) listing += "SET " + std::to_string(i) + " 46\n";
    for (int n : counts) listing += "INPUT 5 " + std::to_string(n) + "\n";
    for (int i = 0; i < 20; ++i) listing += "PRINT " + std::to_string(i) + "\n";
    const Result r = run(listing, stdinText);
    EXPECT_EQ(r.status, 0);
    return r.out;
}

TEST(Input, StoresAtMostNCharactersAndNoTerminator) {
    EXPECT_EQ(inputCells({3}, "hello\n"), ".....hel............");
    EXPECT_EQ(inputCells({10}, "hi\n"), ".....hi.............");
    EXPECT_EQ(inputCells({5}, "   \n"), ".....   ............");
}

TEST(Input, EachReadConsumesOneWholeLine) {
    // The rest of "hello" is lost; the next read starts with "ab".
    EXPECT_EQ(inputCells({3, 2}, "hello\nab\n"), ".....abl............");
}

TEST(Input, CountsOfZeroAndAbove127ConsumeALineAndStoreNothing) {
    for (int n : {0, 128, 200, 255}) {
        EXPECT_EQ(inputCells({n, 1}, "xyz\nq\n"), ".....q..............") << n;
    }
}

TEST(Input, EmptyLinesAndTheEndOfInputStoreNothing) {
    EXPECT_EQ(inputCells({4, 4}, "\nab\n"), ".....ab.............");
    EXPECT_EQ(inputCells({4, 4, 4}, ""), "....................");
    EXPECT_EQ(inputCells({4}, "ab"), ".....ab.............");  // no final line end
}

TEST(Input, LineEndsAtANulByte) {
    EXPECT_EQ(inputCells({9, 9}, std::string("ab\0cd\nef\n", 9)), ".....ef.............");
}

TEST(Input, HighBytesAndCarriageReturnsAreCharacters) {
    EXPECT_EQ(inputCells({9}, "\xFF\x80z\r\n"), ".....\xFF\x80z\r...........");
}

// Reads a line of `length` characters with INPUT 0, 127, then the next line.
TEST(Input, LongLinesKeepTheirFirst255Characters) {
    for (std::size_t length : {200, 255, 256, 300, 100000}) {
        std::string line;
        for (std::size_t i = 0; i < length; ++i) line += static_cast<char>('a' + i % 26);
        std::string listing = "INPUT 0 127\nINPUT 127 127\nINPUT 254 2\n";
        for (int i = 0; i < 256; ++i) listing += "PRINT " + std::to_string(i) + "\n";
        // The first read stores up to 127 characters from cell 0; the second, "xy", lands at 127.
        const Result r = run(listing, line + "\nxy\nZ\n");
        std::string expected(256, '\0');
        for (std::size_t i = 0; i < std::min<std::size_t>(127, length); ++i) expected[i] = line[i];
        expected[127] = 'x';
        expected[128] = 'y';
        expected[254] = 'Z';
        EXPECT_EQ(r.out, expected) << length;
    }
}

TEST(Input, RunsGoOnIntoTheNextChunk) {
    // From cell 250 of chunk 3: "abcdef" there, "ghij" in cells 0..3 of chunk 4; CHUNK stays 3.
    const Result r = run("SET 0 3\nSETCHUNK 0\nINPUT 250 10\nPRINT 250\nPRINT 255\nSET 9 4\nSETCHUNK 9\n"
                         "PRINT 0\nPRINT 1\nPRINT 2\nPRINT 3\nPRINTNUM 4",
                         "abcdefghij\n");
    EXPECT_EQ(r.out, "afghij0");
}

TEST(Input, NothingIsStoredPastTheLastCell) {
    const Result r = run("SET 0 255\nSETCHUNK 0\nINPUT 250 20\n"
                         "PRINT 250\nPRINT 255\nSET 9 0\nSETCHUNK 9\nPRINTNUM 0\nPRINTNUM 1",
                         "abcdefghijklmnop\n");
    // "ghij..." would have wrapped onto cells 0 and 1 of chunk 0, which keep 255 and 0.
    EXPECT_EQ(r.out, "af2550");
}

// A prompt written before INPUT is on the pipe before the read waits.
TEST(Input, PromptIsWrittenBeforeTheReadWaits) {
    const std::string program = writeTemp("prompt.b21", encode("SET 0 63\nPRINT 0\nINPUTNUM 1\nPRINTNUM 1"));
    int toChild[2], fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::close(toChild[1]);
        ::close(fromChild[0]);
        ::execl(B21_PATH, B21_PATH, program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    pollfd p{fromChild[0], POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1) << "no prompt while the interpreter waits for input";
    char c = 0;
    ASSERT_EQ(::read(fromChild[0], &c, 1), 1);
    EXPECT_EQ(c, '?');
    ASSERT_EQ(::write(toChild[1], "42\n", 3), 3);
    ::close(toChild[1]);
    std::string rest;
    char buf[64];
    for (ssize_t n; (n = ::read(fromChild[0], buf, sizeof buf)) > 0;) rest.append(buf, static_cast<std::size_t>(n));
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(rest, "42");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(fromChild[0]);
}

// At a terminal each line shows as soon as it ends, while the program runs on.
TEST(Output, TerminalSeesEachLineAsItEnds) {
    const std::string program = writeTemp("line.b21", encode("SET 0 97\nPRINT 0\nSET 1 10\nPRINT 1\nLABEL 1\nGOTO 1"));
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::execl(B21_PATH, B21_PATH, program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string seen;
    pollfd p{terminal, POLLIN, 0};
    while (seen.find('\n') == std::string::npos && ::poll(&p, 1, 5000) == 1) {
        char buf[64];
        const ssize_t n = ::read(terminal, buf, sizeof buf);
        if (n <= 0) break;
        seen.append(buf, static_cast<std::size_t>(n));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(terminal);
    EXPECT_EQ(seen, "a\r\n");  // the terminal turns the line feed into CR LF
}

}  // namespace

// Assignment, arithmetic, comparison and logic on cells, and the chunk switch.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

#include "harness.hpp"

using namespace b21test;

namespace {

// Cell 250 holds a line feed and 251 a space, for the printouts below.
const std::string PRELUDE = "SET 250 10\nSET 251 32\n";

struct Case {
    std::string op;
    int x;
    int y;  // the second cell, or the constant of SET, INCR and DECR
    int expected;
};

// Runs every case in one program; each prints "result second-cell" on a line.
// With `sameCell`, cell 0 is both operands and y is ignored.
void expectCases(const std::vector<Case>& cases, bool immediate, bool sameCell = false) {
    std::string listing = PRELUDE;
    for (const Case& c : cases) {
        listing += "SET 0 " + std::to_string(c.x) + "\nSET 1 " + std::to_string(c.y) + "\n";
        const std::string second = sameCell ? "0" : immediate ? std::to_string(c.y) : "1";
        listing += c.op + " 0 " + second + "\nPRINTNUM 0\nPRINT 251\nPRINTNUM 1\nPRINT 250\n";
    }
    const Result r = run(listing);
    ASSERT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    for (const Case& c : cases) {
        int result = -1, second = -1;
        lines >> result >> second;
        EXPECT_EQ(result, c.expected) << c.op << " " << c.x << " " << c.y;
        EXPECT_EQ(second, c.y) << c.op << " " << c.x << " " << c.y << ": the second cell changed";
    }
}

TEST(Arithmetic, WrapsModulo256AndIsUnsigned) {
    expectCases({{"ADD", 200, 100, 44}, {"ADD", 1, 2, 3},     {"SUB", 3, 5, 254},  {"SUB", 9, 4, 5},
                 {"MUL", 200, 2, 144},  {"MUL", 16, 16, 0},   {"MUL", 7, 6, 42},   {"DIV", 200, 100, 2},
                 {"DIV", 7, 9, 0},      {"DIV", 255, 2, 127}, {"MOD", 255, 16, 15}, {"MOD", 7, 9, 7},
                 {"MOD", 200, 7, 4}},
                false);
}

TEST(Arithmetic, OneCellAsBothOperands) {
    expectCases({{"ADD", 200, 0, 144}, {"SUB", 77, 0, 0}, {"MUL", 20, 0, 144}, {"DIV", 9, 0, 1}, {"MOD", 9, 0, 0},
                 {"XOR", 77, 0, 0}},
                false, true);
}

TEST(Arithmetic, ConstantsAreNumbersNotCells) {
    // INCR 0 20 adds 20, whatever cell 20 holds (0 here).
    expectCases({{"SET", 9, 255, 255}, {"INCR", 0, 255, 255}, {"DECR", 0, 1, 255}, {"INCR", 100, 200, 44},
                 {"INCR", 5, 0, 5},    {"DECR", 5, 0, 5},     {"DECR", 3, 255, 4}, {"INCR", 3, 20, 23}},
                true);
}

TEST(Comparison, UnsignedAndExactlyOneOrZero) {
    expectCases({{"GT", 128, 127, 1}, {"GT", 0, 255, 0},   {"GT", 200, 100, 1}, {"LT", 0, 255, 1},
                 {"LT", 255, 0, 0},   {"GTE", 5, 6, 0},    {"LTE", 6, 5, 0},    {"GT", 9, 9, 0},
                 {"LT", 9, 9, 0},     {"GTE", 9, 9, 1},    {"LTE", 9, 9, 1},    {"EQ", 9, 9, 1},
                 {"EQ", 9, 8, 0},     {"NOTEQ", 9, 9, 0},  {"NOTEQ", 0, 200, 1}},
                false);
}

TEST(Comparison, OneCellAsBothOperands) {
    expectCases({{"GT", 7, 0, 0}, {"LT", 7, 0, 0}, {"NOTEQ", 7, 0, 0}, {"GTE", 7, 0, 1}, {"LTE", 7, 0, 1},
                 {"EQ", 7, 0, 1}, {"AND", 7, 0, 1}, {"AND", 0, 0, 0}, {"OR", 7, 0, 1}, {"OR", 0, 0, 0}},
                false, true);
}

TEST(Logic, AndOrNotAreLogicalXorIsBitwise) {
    expectCases({{"AND", 2, 4, 1}, {"AND", 0, 4, 0}, {"AND", 4, 0, 0},  {"OR", 2, 4, 1},    {"OR", 0, 0, 0},
                 {"OR", 0, 7, 1},  {"XOR", 2, 4, 6}, {"XOR", 2, 1, 3},  {"XOR", 255, 1, 254}, {"XOR", 255, 15, 240},
                 {"XOR", 1, 1, 0}, {"NOT", 0, 9, 1}, {"NOT", 1, 0, 0},  {"NOT", 5, 0, 0},   {"NOT", 255, 0, 0}},
                false);
}

TEST(Copy, IndirectCopyReadsBeforeItWrites) {
    const Result r = run(PRELUDE +
                         "SET 10 30\nSET 20 40\nSET 30 111\nCOP 10 20\n"
                         "PRINTNUM 40\nPRINT 251\nPRINTNUM 10\nPRINT 251\nPRINTNUM 20\nPRINT 251\nPRINTNUM 30\nPRINT 250\n"
                         "SET 20 20\nCOP 10 20\nPRINTNUM 20\nPRINT 250\n"       // overwrites its own pointer cell
                         "SET 11 30\nSET 21 30\nCOP 11 21\nPRINTNUM 30\nPRINT 250\n"  // source is destination
                         "SET 255 7\nSET 12 255\nSET 22 0\nCOP 12 22\nPRINTNUM 0\nPRINT 250\n");
    EXPECT_EQ(r.out, "111 30 40 111\n111\n111\n7\n");
}

TEST(Copy, PositionsStayInTheCurrentChunk) {
    // In chunk 1, the value 255 names cell 255 of chunk 1, not a cell of chunk 2.
    const Result r = run("SET 0 1\nSETCHUNK 0\nSET 255 9\nSET 1 255\nSET 2 3\nCOP 1 2\nPRINTNUM 3\n"
                         "SET 4 0\nSETCHUNK 4\nPRINTNUM 3");
    EXPECT_EQ(r.out, "90");
}

TEST(Chunks, OperandsNameCellsOfTheCurrentChunk) {
    // SET 0 9 in chunk 1 lands at memory 256; chunk 0's cell 0 keeps 1.
    const Result r = run("SET 0 1\nSETCHUNK 0\nSET 0 9\nSET 1 0\nSETCHUNK 1\nPRINTNUM 0\n"
                         "SET 0 255\nSETCHUNK 0\nSET 255 42\nSET 254 1\nSETCHUNK 254\nPRINTNUM 255\n"
                         "SET 3 255\nSETCHUNK 3\nPRINTNUM 255");
    // Then 42 goes to memory 65535 (chunk 255, cell 255); chunk 1's cell 255 reads 0;
    // back in chunk 255, cell 255 reads 42.
    EXPECT_EQ(r.out, "1042");
}

TEST(Chunks, SameChunkLeavesItUnchanged) {
    const Result r = run("SET 0 2\nSETCHUNK 0\nSET 0 2\nSET 5 6\nSETCHUNK 0\nPRINTNUM 5");
    EXPECT_EQ(r.out, "6");
}

// Draws `count` RAND values from cells holding x and y; gives the set of values seen.
std::multiset<int> draws(int x, int y, int count, bool sameCell = false) {
    std::string listing = PRELUDE;
    for (int i = 0; i < count; ++i) {
        listing += "SET 0 " + std::to_string(x) + "\nSET 1 " + std::to_string(y) + "\nRAND 0 " + (sameCell ? "0" : "1") +
                   "\nPRINTNUM 0\nPRINT 250\n";
    }
    const Result r = run(listing);
    std::multiset<int> seen;
    std::istringstream lines(r.out);
    for (int v; lines >> v;) seen.insert(v);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(count));
    return seen;
}

TEST(Rand, StaysInItsRange) {
    struct Range {
        int x, y;
        std::set<int> allowed;
        bool varies;
    };
    auto span = [](int from, int to) {
        std::set<int> s;
        for (int v = from; v <= to; ++v) s.insert(v);
        return s;
    };
    std::set<int> wrapFrom200 = span(200, 255);
    for (int v : span(0, 142)) wrapFrom200.insert(v);
    std::set<int> from255 = span(0, 252);
    from255.insert(255);
    const Range ranges[] = {
        {0, 255, span(0, 255), true},  {3, 9, span(3, 9), true},       {10, 5, span(10, 13), true},
        {7, 7, {7}, false},            {7, 5, {7}, false},             {200, 0, wrapFrom200, true},
        {255, 0, from255, true},       {5, 4, span(0, 255), true},  // n = 0: the whole circle
    };
    for (const Range& range : ranges) {
        const auto seen = draws(range.x, range.y, 400);
        for (int v : seen) EXPECT_TRUE(range.allowed.count(v)) << range.x << ".." << range.y << " gave " << v;
        if (range.varies) {
            EXPECT_GT(std::set<int>(seen.begin(), seen.end()).size(), 1u) << range.x << ".." << range.y;
        }
    }
}

TEST(Rand, OneCellAsBothOperandsKeepsItsValue) {
    for (int v : draws(77, 0, 50, true)) EXPECT_EQ(v, 77);
}

TEST(Rand, SeededOncePerSecondOfCalendarTime) {
    // Three runs in a row: at most one second boundary falls between them.
    std::string listing = PRELUDE;
    for (int i = 0; i < 20; ++i) listing += "SET 0 0\nSET 1 255\nRAND 0 1\nPRINTNUM 0\nPRINT 250\n";
    const std::string a = run(listing).out, b = run(listing).out, c = run(listing).out;
    EXPECT_TRUE(a == b || b == c);
}

}  // namespace

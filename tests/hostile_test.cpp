// Hostile program files, standard input and standard output, and memory limits.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <regex>

#include "harness.hpp"

using namespace b21test;

namespace {

TEST(HostileFiles, DevicesAreNotPrograms) {
    for (const char* device : {"/dev/zero", "/dev/null"}) {
        const Result r = runArgs(device);
        EXPECT_EQ(r.out, "Fichier inexistant\n") << device;
        EXPECT_EQ(r.status, 1) << device;
    }
}

TEST(HostileFiles, APipeIsReadToItsEnd) {
    const std::string fifo = tempDir() + "/program.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string program = writeTemp("piped.b21", encode("SET 0 80\nPRINT 0"));
    const Result r = runTool(B21_PATH, quoted(fifo), "", {.shellPrefix = "cat " + quoted(program) + " > " + quoted(fifo) + " &"});
    EXPECT_EQ(r.out, "P");
    EXPECT_EQ(r.status, 0);
}

TEST(HostileFiles, UnreadableFileIsReported) {
    const std::string program = writeTemp("secret.b21", encode("SET 0 80\nPRINT 0"));
    ASSERT_EQ(::chmod(program.c_str(), 0), 0);
    // Root reads anything: drop to another user for the run.
    const std::string wrapper = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
    const Result r = runTool(B21_PATH, quoted(program), "", {.wrapper = wrapper});
    EXPECT_EQ(r.out, "Fichier inexistant\n");
    EXPECT_EQ(r.status, 1);
}

TEST(HostileFiles, NulBytesAndHighBytesDecodeByTheFieldRule) {
    // Each NUL folds as -48: the opcode field gives -1488, whose low 8 bits are 48.
    const Result nul = runText(std::string(42, '\0'));
    EXPECT_EQ(nul.out, "Invalid opcode 48 at instruction 0\n");
    EXPECT_EQ(nul.status, 1);
    // Each 0xFF folds as 207: opcode 207 * 31 = 6417 -> 17 (GTE), operands 207 * 255 -> 49: GTE 49, 49.
    const Result high = runText(std::string(21, '\xFF') + encode("PRINTNUM 49"));
    EXPECT_EQ(high.out, "1");
    EXPECT_EQ(high.status, 0);
}

TEST(HostileFiles, BinaryGarbageIsRefusedCleanly) {
    std::mt19937 random(5);
    const std::regex refused("Invalid opcode [0-9]+ at instruction [0-9]+\n");
    for (int trial = 0; trial < 40; ++trial) {
        std::string garbage(210 + random() % 200, '\0');
        for (char& c : garbage) c = static_cast<char>(random());
        const Result r = runText(garbage);
        // Ten or more instructions: the chance that every opcode is valid is below 1 in 10^9.
        EXPECT_EQ(r.status, 1) << trial;
        EXPECT_TRUE(std::regex_match(r.out, refused)) << trial << ": " << r.out;
    }
}

TEST(HostileFiles, StrayCharactersFoldWhereTheyStand) {
    struct Case {
        std::string text;
        std::string out;
        int status;
    };
    const std::string setA = bits(7, 0, 65);
    const Case cases[] = {
        // In an operand: arg2 "0100000" + '2' folds to 2 * 32 + 2 = 66.
        {setA.substr(0, 20) + "2" + encode("PRINTNUM 0"), "66", 0},
        // In the opcode: "00102" folds to 6, PRINT.
        {setA + "00102" + std::string(16, '0'), "A", 0},
        // A line end after every instruction: the second is read from "\n0011...", or "\r\n001...".
        {setA + "\n" + encode("PRINT 0") + "\n", "Invalid opcode 163 at instruction 1\n", 1},
        {setA + "\r\n" + encode("PRINT 0") + "\r\n", "Invalid opcode 161 at instruction 1\n", 1},
        // A space between instructions folds " 0011" to 3: PRINT 0 silently becomes DIV 0, 0.
        {setA + " " + encode("PRINT 0"), "", 0},
    };
    for (const Case& c : cases) {
        const Result r = runText(c.text);
        EXPECT_EQ(r.out, c.out) << c.text;
        EXPECT_EQ(r.status, c.status) << c.text;
    }
}

std::string hugeFileOfZeros(std::size_t megabytes) {
    const std::string path = tempDir() + "/zeros.b21";
    std::ofstream out(path, std::ios::binary);
    const std::string block(1 << 20, '0');
    for (std::size_t i = 0; i < megabytes; ++i) out << block;
    return path;
}

TEST(HostileFiles, HundredsOfMegabytesLoadAndRun) {
    const std::string path = hugeFileOfZeros(300);  // 14,979,657 ADD 0, 0 and an ignored tail
    const Result r = runArgs(quoted(path));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
    std::remove(path.c_str());
}

TEST(HostileFiles, TooLargeForTheMemoryLimitFailsCleanly) {
    SKIP_UNDER_SANITIZERS();
    const std::string path = hugeFileOfZeros(200);
    const Result r = runTool(B21_PATH, quoted(path), "", {.shellPrefix = "ulimit -v 150000;"});
    EXPECT_EQ(r.out, "Memory allocation failed!\n");
    EXPECT_EQ(r.status, 1);
    std::remove(path.c_str());
}

// An input line of 200 characters is copied into an allocation of 201 bytes;
// when that fails, the run stops with "Erreur" after what it wrote.
TEST(OutOfMemory, InputLineThatCannotBeAllocated) {
    SKIP_UNDER_SANITIZERS();
    const std::string program = encode("SET 0 62\nPRINT 0\nINPUT 1 10\nPRINT 1");
    const Launch failing{.shellPrefix = "B21_FAIL_SIZE=201 LD_PRELOAD=" + quoted(B21_FAILALLOC)};
    const Result r = runText(program, std::string(200, 'z') + "\n", failing);
    EXPECT_EQ(r.out, ">Erreur\n");
    EXPECT_EQ(r.status, 1);
    const Result shorter = runText(program, std::string(199, 'z') + "\n", failing);
    EXPECT_EQ(shorter.out, ">z");
    EXPECT_EQ(shorter.status, 0);
}

TEST(HostileInput, ClosedStandardInputReadsAsItsEnd) {
    const Result r = runText(encode("SET 0 9\nINPUTNUM 0\nPRINTNUM 0\nSET 1 46\nINPUT 1 5\nPRINT 1"), "",
                             {.redirectIn = "<&-"});
    EXPECT_EQ(r.out, "0.");
    EXPECT_EQ(r.status, 0);
}

TEST(HostileOutput, ReaderThatGoesAwayEndsTheRun) {
    const std::string program = writeTemp("forever.b21", encode("SET 0 120\nLABEL 1\nPRINT 0\nGOTO 1"));
    const std::string status = tempDir() + "/pipe-status", err = tempDir() + "/pipe-err";
    const std::string command = "bash -c \"'" B21_PATH "' '" + program + "' 2> '" + err +
                                "' | head -c 5 > /dev/null; echo \\${PIPESTATUS[0]} > '" + status + "'\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFileBytes(status), "1\n");
    EXPECT_EQ(readFileBytes(err), "b21: cannot write standard output: Broken pipe\n");
}

}  // namespace

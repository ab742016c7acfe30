// Test helpers: encode readable listings into program files and run the real
// interpreter on them.
#pragma once

#include <string>
#include <string_view>

namespace b21test {

// Assembles a listing (one instruction per line, as b21asm reads it) into
// the 0/1 text; a listing with errors throws.
std::string encode(std::string_view listing);

// The 21 characters of one instruction.
std::string bits(int opcode, int arg1, int arg2);

struct Result {
    std::string out;  // standard output, byte for byte
    std::string err;  // standard error
    int status;       // exit status, or 128 + signal
};

// How the shell starts the interpreter.
struct Launch {
    std::string shellPrefix = {};  // shell commands first, e.g. "ulimit -v 100000;"
    std::string wrapper = {};      // a command that runs it, e.g. "timeout 1"
    std::string redirectOut = {};  // replaces "> stdout-file", e.g. "> /dev/full"
    std::string redirectIn = {};   // replaces "< stdin-file", e.g. "<&-"
};

// Skips a test that puts the interpreter under a memory limit, which a
// sanitized build cannot run under.
#ifdef B21_SANITIZED
#define SKIP_UNDER_SANITIZERS() GTEST_SKIP() << "memory limits do not apply to sanitized builds"
#else
#define SKIP_UNDER_SANITIZERS() (void)0
#endif

// Runs `b21 FILE` on the given program text (already in bits) with the given
// standard input.
Result runText(const std::string& programText, const std::string& stdinText = "", const Launch& launch = {});

// Encodes the listing, then runs it.
Result run(std::string_view listing, const std::string& stdinText = "");

// Runs the interpreter with these raw shell arguments (nothing on stdin).
Result runArgs(const std::string& args, const std::string& stdinText = "");

// Runs a program (b21, b21asm, b21dis) with these raw shell arguments.
Result runTool(const std::string& binary, const std::string& args, const std::string& stdinText = "",
               const Launch& launch = {});

// A path in single quotes, for a shell command line.
inline std::string quoted(const std::string& path) { return "'" + path + "'"; }

// A fresh temporary directory for this test process.
std::string tempDir();
std::string writeTemp(const std::string& name, const std::string& content);
std::string readFileBytes(const std::string& path);

}  // namespace b21test

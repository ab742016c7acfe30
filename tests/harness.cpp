#include "harness.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "assembler.hpp"

namespace b21test {

namespace {

int counter = 0;

}  // namespace

std::string bits(int opcode, int arg1, int arg2) { return instructionBits(opcode, arg1, arg2); }

std::string encode(std::string_view listing) {
    const Assembled result = assemble(listing);
    if (!result.errors.empty()) {
        const AsmError& e = result.errors.front();
        throw std::invalid_argument("listing line " + std::to_string(e.line) + ": " + e.message);
    }
    return result.bits;
}

std::string tempDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/b21-test-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        return std::string(pattern);
    }();
    return dir;
}

std::string writeTemp(const std::string& name, const std::string& content) {
    const std::string path = tempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

Result shell(const std::string& binary, const std::string& args, const std::string& stdinText, const Launch& launch) {
    const std::string id = std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const std::string in = writeTemp("in-" + id, stdinText);
    const std::string out = tempDir() + "/out-" + id;
    const std::string err = tempDir() + "/err-" + id;
    const std::string command = launch.shellPrefix + " exec " + launch.wrapper + " '" + binary + "' " + args + " " +
                                (launch.redirectIn.empty() ? "< '" + in + "'" : launch.redirectIn) + " " +
                                (launch.redirectOut.empty() ? "> '" + out + "'" : launch.redirectOut) + " 2> '" + err + "'";
    const int raw = std::system(command.c_str());
    Result r{readFileBytes(out), readFileBytes(err), -1};
    if (r.err.find("Sanitizer") != std::string::npos || r.err.find("runtime error:") != std::string::npos) {
        ADD_FAILURE() << "sanitizer report from " << command << ":\n" << r.err;
    }
    if (WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    else if (WIFSIGNALED(raw)) r.status = 128 + WTERMSIG(raw);
    return r;
}

}  // namespace

Result runText(const std::string& programText, const std::string& stdinText, const Launch& launch) {
    const std::string program = writeTemp("prog-" + std::to_string(::getpid()) + "-" + std::to_string(counter++),
                                          programText);
    return shell(B21_PATH, "'" + program + "'", stdinText, launch);
}

Result run(std::string_view listing, const std::string& stdinText) { return runText(encode(listing), stdinText); }

Result runArgs(const std::string& args, const std::string& stdinText) { return shell(B21_PATH, args, stdinText, {}); }

Result runTool(const std::string& binary, const std::string& args, const std::string& stdinText, const Launch& launch) {
    return shell(binary, args, stdinText, launch);
}

}  // namespace b21test

#include "harness.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "machine.hpp"

namespace b21test {

namespace {

int opcodeOf(const std::string& word) {
    std::string upper;
    for (char c : word) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (std::size_t i = 0; i < OPCODES.size(); ++i) {
        if (OPCODES[i].name == upper) return static_cast<int>(i);
    }
    throw std::invalid_argument("unknown mnemonic " + word);
}

std::string field(int value, int width) {
    std::string s;
    for (int bit = width - 1; bit >= 0; --bit) s += (value >> bit & 1) ? '1' : '0';
    return s;
}

int counter = 0;

}  // namespace

std::string bits(int opcode, int arg1, int arg2) { return field(opcode, 5) + field(arg1, 8) + field(arg2, 8); }

std::string encode(std::string_view listing) {
    std::istringstream lines{std::string(listing)};
    std::string line, out;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find(';'));
        std::istringstream words(line);
        std::string mnemonic;
        if (!(words >> mnemonic)) continue;
        int args[2] = {0, 0};
        for (int& a : args) {
            if (!(words >> a)) break;
        }
        out += bits(opcodeOf(mnemonic), args[0], args[1]);
    }
    return out;
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

Result shell(const std::string& args, const std::string& stdinText, const Launch& launch) {
    const std::string id = std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const std::string in = writeTemp("in-" + id, stdinText);
    const std::string out = tempDir() + "/out-" + id;
    const std::string err = tempDir() + "/err-" + id;
    const std::string command = launch.shellPrefix + " exec " + launch.wrapper + " '" B21_PATH "' " + args + " < '" +
                                in + "' " + (launch.redirectOut.empty() ? "> '" + out + "'" : launch.redirectOut) +
                                " 2> '" + err + "'";
    const int raw = std::system(command.c_str());
    Result r{readFileBytes(out), readFileBytes(err), -1};
    if (WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    else if (WIFSIGNALED(raw)) r.status = 128 + WTERMSIG(raw);
    return r;
}

}  // namespace

Result runText(const std::string& programText, const std::string& stdinText, const Launch& launch) {
    const std::string program = writeTemp("prog-" + std::to_string(::getpid()) + "-" + std::to_string(counter++),
                                          programText);
    return shell("'" + program + "'", stdinText, launch);
}

Result run(std::string_view listing, const std::string& stdinText) { return runText(encode(listing), stdinText); }

Result runArgs(const std::string& args, const std::string& stdinText) { return shell(args, stdinText, {}); }

}  // namespace b21test

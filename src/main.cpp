// b21 PROGRAM: loads a program file and runs it.
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <new>
#include <string>

#include "console.hpp"
#include "instructions.hpp"
#include "loader.hpp"
#include "machine.hpp"
#include "stack.hpp"

void halt(int status) {
    flushOutput();
#ifdef B21_COUNT_STEPS
    std::fprintf(stderr, "steps %llu\n", static_cast<unsigned long long>(STEPS));
#endif
    std::exit(status);
}

namespace {

// The first opcode outside the table refuses the whole file before it runs.
bool opcodesValid() {
    for (uint32_t i = 0; i < LENCODE; ++i) {
        if (CODE[i].opcode >= OPCODE_COUNT) {
            writeLine("Invalid opcode " + std::to_string(CODE[i].opcode) + " at instruction " + std::to_string(i));
            return false;
        }
    }
    return true;
}

int start(const char* fileName) {
    std::optional<std::string> text = readFile(fileName);
    if (!text) return 1;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (text->size() / INSTRUCTION_WIDTH > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        writeLine("Program too large");
        return 1;
    }
    CODE = loadProg(*text);
    text.reset();  // the run never looks at the text again
    if (!opcodesValid()) return 1;
    indexLabels();
    initialize(STACK);
    POINTER = 0;
    if (LENCODE > 0) run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that goes away is a failed write, reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
    if (argc < 2) {
        std::fputs("usage: b21 PROGRAM\n", stderr);
        return 2;
    }
    int status;
    try {
        status = start(argv[1]);
    } catch (const std::bad_alloc&) {
        writeLine("Memory allocation failed!");
        status = 1;
    }
    halt(status);
}

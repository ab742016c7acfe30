// libFuzzer target: any byte string is a program and a standard input.
// Layout: two bytes (little-endian) giving the program's length, the
// program's characters, then whatever standard input the run reads.
// Each input is loaded and run through the real loader and handlers for a
// bounded number of steps, checking the machine's invariants after each.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "console.hpp"
#include "instructions.hpp"
#include "loader.hpp"
#include "machine.hpp"
#include "stack.hpp"

namespace {

struct Halted {
    int status;
};

constexpr int MAX_STEPS = 20000;
std::FILE* NO_INPUT = nullptr;

void expect(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s (POINTER %d, LENCODE %u, CHUNK %u)\n", invariant, POINTER, LENCODE,
                     CHUNK);
        std::abort();
    }
}

void resetMachine() {
    MEMOIRE.fill(0);
    CHUNK = 0;
    CELLS = MEMOIRE.data();
    POINTER = 0;
    while (!isEmpty(STACK)) pop(STACK);
    while (!isEmpty(CALLS)) pop(CALLS);
}

void checkMachine() {
    expect(POINTER >= 0 && static_cast<uint32_t>(POINTER) < LENCODE, "POINTER indexes CODE");
    expect(CELLS == MEMOIRE.data() + CHUNK * CHUNK_SIZE, "CELLS is the start of chunk CHUNK");
    expect(CHUNK * CHUNK_SIZE + 255 < MEMORY_SIZE, "every operand of the chunk names a cell of MEMOIRE");
}

void runBounded() {
    for (int step = 0; step < MAX_STEPS; ++step) {
        checkMachine();
        const Instruction in = CODE[static_cast<uint32_t>(POINTER)];
        INSTRUCTIONS[in.opcode](in.arg1, in.arg2);
        checkMachine();
        if (static_cast<uint32_t>(++POINTER) >= LENCODE) return;
    }
}

}  // namespace

void halt(int status) {
    flushOutput();
    throw Halted{status};
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, STDOUT_FILENO);  // program output is not the fuzzer's business
    NO_INPUT = std::fopen("/dev/null", "r");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t length = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
    const std::string_view program(reinterpret_cast<const char*>(data) + 2, length);
    const std::size_t inputSize = size - 2 - length;

    std::FILE* const console = stdin;
    std::FILE* in = inputSize > 0 ? ::fmemopen(const_cast<uint8_t*>(data) + 2 + length, inputSize, "r") : nullptr;
    stdin = in != nullptr ? in : NO_INPUT;
    std::clearerr(stdin);

    resetMachine();
    CODE = loadProg(program);
    const bool valid = std::all_of(CODE.begin(), CODE.end(), [](const Instruction& i) { return i.opcode < OPCODE_COUNT; });
    if (valid && LENCODE > 0) {
        indexLabels();
        try {
            runBounded();
        } catch (const Halted&) {
        }
    }
    flushOutput();
    stdin = console;
    if (in != nullptr) std::fclose(in);
    return 0;
}

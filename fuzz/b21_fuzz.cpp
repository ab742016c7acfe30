// libFuzzer target: any byte string is a program and a standard input.
// Layout: two bytes (little-endian) giving the program's length, the
// program's characters, then whatever standard input the run reads.
//
// Each input is loaded by the real loader and run twice for at most
// MAX_STEPS instructions: once by run(), the interpreter's threaded loop,
// and once a step at a time through INSTRUCTIONS, checking the machine's
// invariants after every step. Both runs must end alike: the same number of
// instructions, the same status, output, cells, chunk and stacks.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "console.hpp"
#include "instructions.hpp"
#include "loader.hpp"
#include "machine.hpp"
#include "stack.hpp"

namespace {

struct Halted {
    int status;
};

constexpr uint64_t MAX_STEPS = 20000;
constexpr int STILL_RUNNING = -1;
int OUTPUT_FD = -1;

struct Outcome {
    uint64_t steps;
    int status;
    std::string output;
    std::array<uint8_t, MEMORY_SIZE> memory;
    uint8_t chunk;
    std::vector<int32_t> stack;
    std::vector<int32_t> calls;

    bool operator==(const Outcome&) const = default;
};

void expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s (POINTER %d, LENCODE %u, CHUNK %u, STEPS %llu)\n", what, POINTER, LENCODE, CHUNK,
                     static_cast<unsigned long long>(STEPS));
        std::abort();
    }
}

void checkMachine() {
    expect(POINTER >= 0 && static_cast<uint32_t>(POINTER) < LENCODE, "POINTER indexes CODE");
    expect(CELLS == MEMOIRE.data() + CHUNK * CHUNK_SIZE, "CELLS is the start of chunk CHUNK");
    expect(CHUNK * CHUNK_SIZE + 255 < MEMORY_SIZE, "every operand names a cell of MEMOIRE");
}

std::vector<int32_t> drain(Stack& stack) {
    std::vector<int32_t> values;
    while (!isEmpty(stack)) values.push_back(pop(stack));
    return values;
}

void resetMachine() {
    MEMOIRE.fill(0);
    CHUNK = 0;
    CELLS = MEMOIRE.data();
    POINTER = 0;
    drain(STACK);
    drain(CALLS);
    STEPS = 0;
    std::srand(21);
    ::ftruncate(OUTPUT_FD, 0);
    ::lseek(OUTPUT_FD, 0, SEEK_SET);
}

// The reference: one handler at a time, the way the machine is defined.
void stepThrough() {
    for (;;) {
        checkMachine();
        const Instruction in = CODE[static_cast<uint32_t>(POINTER)];
        INSTRUCTIONS[in.opcode](in.arg1, in.arg2);
        checkMachine();
        if (++STEPS == STEP_LIMIT) halt(0);
        if (static_cast<uint32_t>(++POINTER) >= LENCODE) return;
    }
}

template <typename Runner>
Outcome runOnce(Runner runner, const uint8_t* input, std::size_t inputSize) {
    resetMachine();
    std::FILE* const console = stdin;
    std::FILE* in = inputSize > 0 ? ::fmemopen(const_cast<uint8_t*>(input), inputSize, "r") : std::fopen("/dev/null", "r");
    stdin = in;
    Outcome out{};
    out.status = STILL_RUNNING;
    try {
        runner();
        flushOutput();
        out.status = 0;
    } catch (const Halted& h) {
        out.status = h.status;
    }
    stdin = console;
    std::fclose(in);
    out.steps = STEPS;
    out.memory = MEMOIRE;
    out.chunk = CHUNK;
    out.output.resize(static_cast<std::size_t>(::lseek(OUTPUT_FD, 0, SEEK_END)));
    ::pread(OUTPUT_FD, out.output.data(), out.output.size(), 0);
    out.stack = drain(STACK);
    out.calls = drain(CALLS);
    return out;
}

}  // namespace

void halt(int status) {
    flushOutput();
    throw Halted{status};
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    OUTPUT_FD = ::memfd_create("b21-output", 0);
    ::dup2(OUTPUT_FD, STDOUT_FILENO);  // the runs' output, compared, not shown
    STEP_LIMIT = MAX_STEPS;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t length = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
    const std::string_view program(reinterpret_cast<const char*>(data) + 2, length);
    const uint8_t* const input = data + 2 + length;
    const std::size_t inputSize = size - 2 - length;

    CODE = loadProg(program);
    const bool valid = std::all_of(CODE.begin(), CODE.end(), [](const Instruction& i) { return i.opcode < OPCODE_COUNT; });
    if (!valid || LENCODE == 0) return 0;
    indexLabels();
    const Outcome threaded = runOnce([] { run(); }, input, inputSize);
    const Outcome reference = runOnce([] { stepThrough(); }, input, inputSize);
    expect(threaded.steps == reference.steps, "both runs take the same number of steps");
    expect(threaded.status == reference.status, "both runs end with the same status");
    expect(threaded.output == reference.output, "both runs write the same output");
    expect(threaded == reference, "both runs leave the same cells, chunk and stacks");
    return 0;
}

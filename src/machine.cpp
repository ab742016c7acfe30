#include "machine.hpp"

#include <cstdint>

#include "console.hpp"
#include "instructions.hpp"
#include "stack.hpp"

std::array<uint8_t, MEMORY_SIZE> MEMOIRE{};
uint8_t CHUNK = 0;
int32_t POINTER = 0;
std::vector<Instruction> CODE;
uint32_t LENCODE = 0;

const std::array<InstructionHandler, OPCODE_COUNT> INSTRUCTIONS = {
#define B21_HANDLER(code, name, shape, pointer) name,
    B21_OPCODES(B21_HANDLER)
#undef B21_HANDLER
};

uint8_t* CELLS = MEMOIRE.data();

#ifdef B21_COUNT_STEPS
uint64_t STEPS = 0;
uint64_t STEP_LIMIT = UINT64_MAX;
#define COUNT_STEP() \
    if (++STEPS == STEP_LIMIT) halt(0)
#else
#define COUNT_STEP()
#endif

namespace {

// One instruction of the threaded program: where in run() its handler is
// called, and its operands.
struct Threaded {
    const void* op;
    uint8_t arg1;
    uint8_t arg2;
};

}  // namespace

// Threaded dispatch: each instruction is bound to the place in run() that
// calls its handler, so that going on to the next one is a single indirect
// jump, and the handlers are inlined there. A last entry past the program
// ends the run. POINTER is written before, and read back after, only the
// handlers that read or set it; the others leave it alone.
void run() {
#define B21_PLACE(code, name, shape, pointer) &&op_##name,
    static const void* const PLACES[OPCODE_COUNT] = {B21_OPCODES(B21_PLACE)};
#undef B21_PLACE
    std::vector<Threaded> program(LENCODE + std::size_t{1});
    for (uint32_t i = 0; i < LENCODE; ++i) program[i] = {PLACES[CODE[i].opcode], CODE[i].arg1, CODE[i].arg2};
    program[LENCODE].op = &&end;
    const Threaded* const first = program.data();
    const Threaded* at = first;

#define CALL_Ignores(name)              \
    name(at->arg1, at->arg2);           \
    ++at;
#define CALL_Uses(name)                               \
    POINTER = static_cast<int32_t>(at - first);       \
    name(at->arg1, at->arg2);                         \
    at = first + POINTER + 1;
#define B21_RUN(code, name, shape, pointer) \
    op_##name : CALL_##pointer(name) COUNT_STEP(); \
    goto* at->op;

    goto* at->op;
    B21_OPCODES(B21_RUN)
#undef B21_RUN
#undef CALL_Uses
#undef CALL_Ignores
end:
    return;
}

void SETCHUNK(uint8_t a, uint8_t) {
    CHUNK = cell(a);
    CELLS = MEMOIRE.data() + CHUNK * CHUNK_SIZE;
}

#include "machine.hpp"

#include "console.hpp"
#include "instructions.hpp"
#include "stack.hpp"

std::array<uint8_t, MEMORY_SIZE> MEMOIRE{};
uint8_t CHUNK = 0;
int32_t POINTER = 0;
std::vector<Instruction> CODE;
uint32_t LENCODE = 0;

const std::array<InstructionHandler, OPCODE_COUNT> INSTRUCTIONS = {
#define B21_HANDLER(code, name, shape) name,
    B21_OPCODES(B21_HANDLER)
#undef B21_HANDLER
};

uint8_t* CELLS = MEMOIRE.data();

void SETCHUNK(uint8_t a, uint8_t) {
    CHUNK = cell(a);
    CELLS = MEMOIRE.data() + CHUNK * CHUNK_SIZE;
}

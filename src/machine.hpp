// The b21 machine: its memory, the chunk register, the instruction pointer,
// the decoded program and the one table of its 32 operations.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "loader.hpp"

// One instruction in a program file is 21 characters '0'/'1', each field
// written most significant digit first, with nothing between instructions:
//
//    0      4 5           12 13          20
//   +--------+--------------+--------------+
//   | opcode |     arg1     |     arg2     |
//   +--------+--------------+--------------+
//     5 bits     8 bits         8 bits
//
// Operand shapes, named for what arg1 and arg2 mean to the operation:
//   a, b  cells of the current chunk      v  an 8-bit constant
//   k     a label key                     n  a count (signed 8-bit)
enum class Operands { None, A, AB, AV, AN, K, AK };

// How many operands an operation of this shape reads.
constexpr int operandCount(Operands shape) {
    return shape == Operands::None ? 0 : shape == Operands::A || shape == Operands::K ? 1 : 2;
}

// The one list of operations: opcode, name (the handler's name too), operand
// shape, and whether the handler reads or sets POINTER (the run loop keeps
// POINTER up to date only around those).
#define B21_OPCODES(X) \
    X(0, ADD, AB, Ignores)           /* cell a := cell a + cell b                                */ \
    X(1, SUB, AB, Ignores)           /* cell a := cell a - cell b                                */ \
    X(2, MUL, AB, Ignores)           /* cell a := cell a * cell b                                */ \
    X(3, DIV, AB, Uses)              /* cell a := cell a / cell b, rounded down                  */ \
    X(4, MOD, AB, Uses)              /* cell a := cell a % cell b                                */ \
    X(5, PRINTNUM, A, Ignores)       /* write cell a in decimal                                  */ \
    X(6, PRINT, A, Ignores)          /* write cell a as one byte                                 */ \
    X(7, SET, AV, Ignores)           /* cell a := v                                              */ \
    X(8, COP, AB, Ignores)           /* cell[cell b] := cell[cell a]                             */ \
    X(9, INPUT, AN, Ignores)         /* read a line; its first n bytes go to cells a, a+1, ...   */ \
    X(10, INPUTNUM, A, Ignores)      /* read a line; cell a := its decimal value                 */ \
    X(11, PUSH, A, Ignores)          /* push cell a onto the data stack                          */ \
    X(12, POP, A, Ignores)           /* pop the data stack into cell a                           */ \
    X(13, LABEL, K, Ignores)         /* jump target with key k; does nothing                     */ \
    X(14, GOTO, K, Uses)             /* go on after the first LABEL k                            */ \
    X(15, GT, AB, Ignores)           /* cell a := cell a > cell b                                */ \
    X(16, LT, AB, Ignores)           /* cell a := cell a < cell b                                */ \
    X(17, GTE, AB, Ignores)          /* cell a := cell a >= cell b                               */ \
    X(18, LTE, AB, Ignores)          /* cell a := cell a <= cell b                               */ \
    X(19, EQ, AB, Ignores)           /* cell a := cell a == cell b                               */ \
    X(20, NOTEQ, AB, Ignores)        /* cell a := cell a != cell b                               */ \
    X(21, AND, AB, Ignores)          /* cell a := cell a && cell b                               */ \
    X(22, OR, AB, Ignores)           /* cell a := cell a || cell b                               */ \
    X(23, XOR, AB, Ignores)          /* cell a := cell a ^ cell b, bit by bit                    */ \
    X(24, NOT, A, Ignores)           /* cell a := !cell a                                        */ \
    X(25, JUMP, AK, Uses)            /* if cell a is 0, go on after the first LABEL k            */ \
    X(26, CALL, K, Uses)             /* push this index on the call stack, go on after LABEL k   */ \
    X(27, RETURN, None, Uses)        /* go back after the last CALL; with none pending, stop     */ \
    X(28, INCR, AV, Ignores)         /* cell a := cell a + v                                     */ \
    X(29, DECR, AV, Ignores)         /* cell a := cell a - v                                     */ \
    X(30, RAND, AB, Ignores)         /* cell a := pseudo-random value from cell a up to cell b   */ \
    X(31, SETCHUNK, A, Ignores)      /* CHUNK := cell a                                          */

using InstructionHandler = void (*)(uint8_t arg1, uint8_t arg2);

// Opcodes by name, for the code that looks for one: OP_LABEL is 13.
enum Opcode : uint8_t {
#define B21_NAME(code, name, shape, pointer) OP_##name = code,
    B21_OPCODES(B21_NAME)
#undef B21_NAME
};

constexpr std::size_t OPCODE_COUNT = 32;
constexpr std::size_t MEMORY_SIZE = 65536;
constexpr std::size_t CHUNK_SIZE = 256;

struct OpcodeInfo {
    std::string_view name;
    Operands operands;
};

// Each row's opcode is its position, and there are exactly OPCODE_COUNT rows.
constexpr bool opcodesInOrder() {
    std::size_t row = 0;
    bool inOrder = true;
#define B21_CHECK(code, name, shape, pointer) inOrder = inOrder && (code) == row++;
    B21_OPCODES(B21_CHECK)
#undef B21_CHECK
    return inOrder && row == OPCODE_COUNT;
}
static_assert(opcodesInOrder(), "the opcode list must hold opcodes 0 to 31 in order");

// Names and shapes, indexed by opcode.
inline constexpr std::array<OpcodeInfo, OPCODE_COUNT> OPCODES = {{
#define B21_INFO(code, name, shape, pointer) {#name, Operands::shape},
    B21_OPCODES(B21_INFO)
#undef B21_INFO
}};

// The dispatch table, indexed by opcode.
extern const std::array<InstructionHandler, OPCODE_COUNT> INSTRUCTIONS;

extern std::array<uint8_t, MEMORY_SIZE> MEMOIRE;
extern uint8_t CHUNK;
extern int32_t POINTER;
extern std::vector<Instruction> CODE;
extern uint32_t LENCODE;

// The first cell of the current chunk, MEMOIRE + CHUNK * 256: kept beside
// CHUNK (only SETCHUNK changes either) so that naming a cell is one addition.
extern uint8_t* CELLS;

// Cell x: the cell that operand x names in the current chunk.
inline uint8_t& cell(uint8_t x) { return CELLS[x]; }

// Runs CODE from its first instruction until the run passes the last one;
// a handler may end it sooner through halt(). Needs indexLabels() first.
void run();

#ifdef B21_COUNT_STEPS
// Instrumented builds (benchmarks, fuzzing) count the instructions run, and
// end the run through halt(0) when STEP_LIMIT of them have run.
extern uint64_t STEPS;
extern uint64_t STEP_LIMIT;
#endif

// Ends the run with this exit status, everything written so far delivered.
// Each program that embeds the machine defines it.
[[noreturn]] void halt(int status);

void SETCHUNK(uint8_t a, uint8_t b);

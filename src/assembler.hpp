// Readable listings to program files, and back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One problem found in a listing, at a 1-based line and column.
struct AsmError {
    int line;
    int column;
    std::string message;
};

struct Assembled {
    std::string bits;  // the program file: 21 digits per instruction, nothing else
    std::vector<AsmError> errors;
};

// Listing syntax, one instruction per line:
//   MNEMONIC [operand [, operand]]      ; or # starts a comment
// Mnemonics are case-insensitive. An operand is a decimal number 0..255, a
// cell name defined by `.cell NAME NUMBER`, or, where the operation takes a
// label key, `@name`: names get keys that no numeric key uses. Unused
// operands may be left out and are then 0. `.tail DIGITS` appends up to 20
// raw 0/1 digits after the last instruction (a tail the machine ignores).
Assembled assemble(std::string_view source);

// The 21 digits of one instruction.
std::string instructionBits(int opcode, int arg1, int arg2);

struct Disassembled {
    std::string listing;                   // valid assembler input
    std::vector<std::string> diagnostics;  // what the interpreter would silently accept or refuse
};

// Lists a program file, one instruction per line with its index and its 21
// characters in a comment, and diagnoses stray characters, separators
// between instructions, opcodes outside the table and an ignored tail.
Disassembled disassemble(std::string_view text);

// Reading a program file and decoding it into instructions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Instruction {
    uint8_t opcode;
    uint8_t arg1;
    uint8_t arg2;
};

constexpr std::size_t INSTRUCTION_WIDTH = 21;

// The whole file as it reads, or nothing (after writing "Fichier inexistant")
// when it cannot be opened or read.
std::optional<std::string> readFile(const char* fileName);

// The field rule: v := 2v + (c - '0') over `width` characters from `start`.
// Characters other than '0' and '1' fold in by the same rule.
int32_t binToDec(std::string_view text, std::size_t start, int width);

// Decodes every whole 21-character instruction; a shorter tail is ignored.
std::vector<Instruction> loadProg(std::string_view text);

// Writes "opcode arg1 arg2" per instruction, each as a signed 8-bit number.
void affCode(const std::vector<Instruction>& code, std::size_t size);

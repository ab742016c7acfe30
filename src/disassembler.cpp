#include <cstdio>

#include "assembler.hpp"
#include "loader.hpp"
#include "machine.hpp"

namespace {

// Characters as they can stand in a comment: line ends and other controls escaped.
std::string shown(std::string_view raw) {
    std::string s;
    for (unsigned char c : raw) {
        if (c == '\n') s += "\\n";
        else if (c == '\r') s += "\\r";
        else if (c == '\t') s += "\\t";
        else if (c < 32 || c >= 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            s += hex;
        } else s += static_cast<char>(c);
    }
    return s;
}

bool isDigit01(char c) { return c == '0' || c == '1'; }
bool isSeparator(char c) { return c == '\n' || c == '\r' || c == '\t' || c == ' '; }

// The instruction in listing syntax: the operands its operation reads, and an
// unused one too when it is not 0, so that the listing gives back the same digits.
std::string instructionText(const Instruction& in) {
    const OpcodeInfo& info = OPCODES[in.opcode];
    int count = operandCount(info.operands);
    if (in.arg2 != 0) count = 2;
    else if (in.arg1 != 0 && count == 0) count = 1;
    char text[32];
    const int n = count == 0   ? std::snprintf(text, sizeof text, "%s", info.name.data())
                  : count == 1 ? std::snprintf(text, sizeof text, "%s %d", info.name.data(), in.arg1)
                               : std::snprintf(text, sizeof text, "%s %d, %d", info.name.data(), in.arg1, in.arg2);
    return std::string(text, static_cast<std::size_t>(n));
}

const char* fieldName(std::size_t offset) { return offset < 5 ? "opcode" : offset < 13 ? "arg1" : "arg2"; }

int fieldValue(const Instruction& in, std::size_t offset) {
    return offset < 5 ? in.opcode : offset < 13 ? in.arg1 : in.arg2;
}

}  // namespace

Disassembled disassemble(std::string_view text) {
    Disassembled out;
    const std::vector<Instruction> code = loadProg(text);
    const std::size_t body = code.size() * INSTRUCTION_WIDTH;

    for (std::size_t p = 0; p < body; ++p) {
        const char c = text[p];
        if (isDigit01(c)) continue;
        const std::size_t i = p / INSTRUCTION_WIDTH, offset = p % INSTRUCTION_WIDTH;
        if (isSeparator(c)) {
            out.diagnostics.push_back("character " + std::to_string(p) + ": separator '" + shown({&c, 1}) +
                                      "' in instruction " + std::to_string(i) +
                                      ": this and every later instruction is read shifted by one character");
        } else {
            out.diagnostics.push_back("character " + std::to_string(p) + ": '" + shown({&c, 1}) + "' (code " +
                                      std::to_string(static_cast<unsigned char>(c)) + ") is not 0 or 1; it folds into the " +
                                      fieldName(offset) + " of instruction " + std::to_string(i) + ", giving " +
                                      std::to_string(fieldValue(code[i], offset)));
        }
    }

    char index[32];
    for (std::size_t i = 0; i < code.size(); ++i) {
        const std::string digits = shown(text.substr(i * INSTRUCTION_WIDTH, INSTRUCTION_WIDTH));
        std::snprintf(index, sizeof index, "; %5zu  ", i);
        if (code[i].opcode >= OPCODE_COUNT) {
            out.diagnostics.push_back("instruction " + std::to_string(i) + " (character " +
                                      std::to_string(i * INSTRUCTION_WIDTH) + "): opcode " +
                                      std::to_string(code[i].opcode) + " is outside 0-31; b21 refuses this file");
            out.listing += index + digits + "  opcode " + std::to_string(code[i].opcode) + " names no instruction\n";
            continue;
        }
        std::string line = instructionText(code[i]);
        line.resize(std::max<std::size_t>(line.size() + 1, 24), ' ');
        out.listing += line + index + digits + "\n";
    }

    const std::string_view tail = text.substr(body);
    if (!tail.empty() && tail != "\n" && tail != "\r\n") {
        out.diagnostics.push_back("characters " + std::to_string(body) + "-" + std::to_string(text.size() - 1) +
                                  ": a tail of " + std::to_string(tail.size()) +
                                  " characters after the last instruction is ignored");
        if (tail.find_first_not_of("01") == std::string_view::npos) {
            out.listing += ".tail " + std::string(tail) + "\n";
        } else {
            out.listing += "; ignored tail: " + shown(tail) + "\n";
        }
    }
    return out;
}

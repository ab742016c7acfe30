#include "loader.hpp"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "console.hpp"
#include "machine.hpp"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Regular files and pipes hold a program; a directory or a device such as
// /dev/zero (which never ends) does not. Gives the size a regular file has
// now, 0 for a pipe, or nothing.
std::optional<std::size_t> programSize(std::FILE* file) {
    struct stat info;
    if (::fstat(::fileno(file), &info) != 0) return std::nullopt;
    if (S_ISREG(info.st_mode)) return static_cast<std::size_t>(info.st_size);
    if (S_ISFIFO(info.st_mode)) return 0;
    return std::nullopt;
}

}  // namespace

// One pass: the size the file has when opened is read at once, and anything
// after it (a file that grows, a pipe) in blocks. A read error is a failure.
std::optional<std::string> readFile(const char* fileName) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "r"));
    const std::optional<std::size_t> size = file ? programSize(file.get()) : std::nullopt;
    if (size) {
        std::string text(*size, '\0');
        text.resize(std::fread(text.data(), 1, text.size(), file.get()));
        char block[1 << 16];
        std::size_t got;
        while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) text.append(block, got);
        if (!std::ferror(file.get())) return text;
    }
    writeLine("Fichier inexistant");
    return std::nullopt;
}

int32_t binToDec(std::string_view text, std::size_t start, int width) {
    uint32_t v = 0;  // wraps instead of overflowing on long runs of stray characters
    for (int i = 0; i < width; ++i) {
        v = 2 * v + (static_cast<unsigned char>(text[start + i]) - 48u);
    }
    return static_cast<int32_t>(v);
}

std::vector<Instruction> loadProg(std::string_view text) {
    const std::size_t n = text.size() / INSTRUCTION_WIDTH;
    std::vector<Instruction> code(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = i * INSTRUCTION_WIDTH;
        code[i] = {static_cast<uint8_t>(binToDec(text, at, 5)),
                   static_cast<uint8_t>(binToDec(text, at + 5, 8)),
                   static_cast<uint8_t>(binToDec(text, at + 13, 8))};
    }
    LENCODE = static_cast<uint32_t>(n);
    return code;
}

void affCode(const std::vector<Instruction>& code, std::size_t size) {
    char line[16];
    for (std::size_t i = 0; i < size; ++i) {
        const Instruction& in = code[i];
        const int len = std::snprintf(line, sizeof line, "%d %d %d\n", static_cast<int8_t>(in.opcode),
                                      static_cast<int8_t>(in.arg1), static_cast<int8_t>(in.arg2));
        writeText({line, static_cast<std::size_t>(len)});
    }
}

#include "console.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "machine.hpp"

namespace {

constexpr std::size_t LINE_MAX_BYTES = 255;

std::array<char, 1 << 16> OUTBUF;
std::size_t OUTLEN = 0;

// As with the C library's standard output, a terminal sees each line as soon
// as it ends; a file or a pipe gets whole buffers.
const bool OUTPUT_IS_TERMINAL = ::isatty(STDOUT_FILENO) == 1;

// Decimal forms of 0..255, so that PRINTNUM costs no formatting.
struct Decimal {
    char digits[3];
    uint8_t length;
};
constexpr std::array<Decimal, 256> DECIMALS = [] {
    std::array<Decimal, 256> table{};
    for (int v = 0; v < 256; ++v) {
        Decimal& d = table[v];
        if (v >= 100) d.digits[d.length++] = static_cast<char>('0' + v / 100);
        if (v >= 10) d.digits[d.length++] = static_cast<char>('0' + v / 10 % 10);
        d.digits[d.length++] = static_cast<char>('0' + v % 10);
    }
    return table;
}();

[[noreturn]] void writeFailed(int error) {
    std::fprintf(stderr, "b21: cannot write standard output: %s\n", std::strerror(error));
    std::_Exit(1);
}

}  // namespace

void flushOutput() {
    std::size_t done = 0;
    while (done < OUTLEN) {
        const ssize_t n = ::write(STDOUT_FILENO, OUTBUF.data() + done, OUTLEN - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) writeFailed(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    OUTLEN = 0;
}

void writeByte(uint8_t c) {
    if (OUTLEN == OUTBUF.size()) flushOutput();
    OUTBUF[OUTLEN++] = static_cast<char>(c);
    if (c == '\n' && OUTPUT_IS_TERMINAL) flushOutput();
}

void writeText(std::string_view text) {
    for (char c : text) writeByte(static_cast<uint8_t>(c));
}

void writeLine(std::string_view text) {
    writeText(text);
    writeByte('\n');
}

void PRINTNUM(uint8_t a, uint8_t) {
    if (OUTBUF.size() - OUTLEN < 3) flushOutput();
    const Decimal& d = DECIMALS[cell(a)];
    std::memcpy(OUTBUF.data() + OUTLEN, d.digits, 3);
    OUTLEN += d.length;
}

void PRINT(uint8_t a, uint8_t) { writeByte(cell(a)); }

void cleanStdin() {
    int c;
    do c = std::getchar(); while (c != '\n' && c != EOF);
}

std::string input() {
    flushOutput();
    char buffer[LINE_MAX_BYTES];
    std::size_t got = 0;
    int c;
    while (got < LINE_MAX_BYTES && (c = std::getchar()) != '\n' && c != EOF) {
        buffer[got++] = static_cast<char>(c);
    }
    if (got == LINE_MAX_BYTES) cleanStdin();  // the rest of a long line is dropped
    try {
        return std::string(buffer, strnlen(buffer, got));
    } catch (const std::bad_alloc&) {
        writeLine("Erreur");
        halt(1);
    }
}

// The count is a signed 8-bit number: 128..255 store nothing. Characters that
// would land past the last cell of memory are dropped.
void INPUT(uint8_t a, uint8_t n) {
    const std::string line = input();
    const int count = static_cast<int8_t>(n);
    if (count <= 0) return;
    const std::size_t first = CHUNK * CHUNK_SIZE + a;
    const std::size_t stored = std::min({line.size(), static_cast<std::size_t>(count), MEMORY_SIZE - first});
    std::memcpy(MEMOIRE.data() + first, line.data(), stored);
}

// Leading white space, an optional sign, then digits, as atoi reads them; the
// value is kept modulo 256 as it is read, so no length of number overflows.
void INPUTNUM(uint8_t a, uint8_t) {
    const std::string line = input();
    std::size_t i = 0;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    const bool negative = i < line.size() && line[i] == '-';
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
    unsigned value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) value = (value * 10 + (line[i] - '0')) & 0xFF;
    cell(a) = static_cast<uint8_t>(negative ? 0u - value : value);
}

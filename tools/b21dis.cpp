// b21dis PROGRAM: lists a program file and diagnoses what the interpreter
// would silently accept or refuse.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "assembler.hpp"
#include "machine.hpp"

void halt(int status) { std::exit(status); }  // the machine never runs here

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: b21dis PROGRAM\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad()) {
        std::fprintf(stderr, "%s: cannot read this file\n", argv[1]);
        return 1;
    }
    const Disassembled result = disassemble(text);
    std::fwrite(result.listing.data(), 1, result.listing.size(), stdout);
    for (const std::string& d : result.diagnostics) std::fprintf(stderr, "%s: %s\n", argv[1], d.c_str());
    if (std::fflush(stdout) != 0) return 1;
    return result.diagnostics.empty() ? 0 : 1;
}

// b21asm SOURCE [-o OUTPUT]: turns a listing into a program file.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "assembler.hpp"

namespace {

int usage() {
    std::fputs("usage: b21asm SOURCE [-o OUTPUT]   (- reads standard input or writes standard output)\n", stderr);
    return 2;
}

std::string defaultOutput(const std::string& source) {
    if (source == "-") return "-";
    const std::size_t slash = source.find_last_of('/');
    const std::size_t dot = source.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? source.substr(0, dot) : source) + ".b21";
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, output;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0) {
            if (++i == argc || !output.empty()) return usage();
            output = argv[i];
        } else if (source.empty()) {
            source = argv[i];
        } else {
            return usage();
        }
    }
    if (source.empty()) return usage();
    if (output.empty()) output = defaultOutput(source);

    std::string text;
    if (source == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read this file\n", source.c_str());
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(in), {});
    }

    const Assembled result = assemble(text);
    if (!result.errors.empty()) {
        const std::string name = source == "-" ? "<stdin>" : source;
        for (const AsmError& e : result.errors) {
            std::fprintf(stderr, "%s:%d:%d: %s\n", name.c_str(), e.line, e.column, e.message.c_str());
        }
        return 1;
    }
    if (output == "-") {
        std::cout << result.bits;
        return std::cout.flush() ? 0 : 1;
    }
    std::ofstream out(output, std::ios::binary);
    if (!(out << result.bits) || !out.flush()) {
        std::fprintf(stderr, "%s: cannot write this file\n", output.c_str());
        return 1;
    }
    return 0;
}

// The console: program output and system messages on standard output, in one
// buffered stream, and whole lines read from standard input.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Output is buffered here and written to file descriptor 1, line by line when
// that is a terminal. A write that fails ends the process with status 1,
// after a note on standard error.
void writeByte(uint8_t c);
void writeText(std::string_view text);
void writeLine(std::string_view text);  // text and a line feed
void flushOutput();

// Discards standard input up to and including the next line feed, or to its end.
void cleanStdin();

// Reads one line of standard input, line feed consumed, and keeps its first
// 255 bytes up to any NUL. The end of input gives an empty line. Pending
// output is written first, so that a prompt is visible while the read waits.
// A line that cannot be allocated ends the run ("Erreur", status 1).
std::string input();

void PRINTNUM(uint8_t a, uint8_t b);
void PRINT(uint8_t a, uint8_t b);
void INPUT(uint8_t a, uint8_t n);
void INPUTNUM(uint8_t a, uint8_t b);

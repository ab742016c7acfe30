// Handlers of the cell instructions, the jumps and the subroutine calls.
#pragma once

#include <array>
#include <cstdint>

// Where the first LABEL of each key stands in CODE, or -1. CODE never changes
// during a run, so indexLabels() fills it once after loading and every jump
// costs the same whatever the size of the program.
extern std::array<int32_t, 256> LABELS;
void indexLabels();

// Sets POINTER to the first LABEL with key k; without one, leaves it alone.
void findLabel(uint8_t k);

void ADD(uint8_t a, uint8_t b);
void SUB(uint8_t a, uint8_t b);
void MUL(uint8_t a, uint8_t b);
void DIV(uint8_t a, uint8_t b);
void MOD(uint8_t a, uint8_t b);
void SET(uint8_t a, uint8_t v);
void COP(uint8_t a, uint8_t b);
void INCR(uint8_t a, uint8_t v);
void DECR(uint8_t a, uint8_t v);
void RAND(uint8_t a, uint8_t b);

void GT(uint8_t a, uint8_t b);
void LT(uint8_t a, uint8_t b);
void GTE(uint8_t a, uint8_t b);
void LTE(uint8_t a, uint8_t b);
void EQ(uint8_t a, uint8_t b);
void NOTEQ(uint8_t a, uint8_t b);
void AND(uint8_t a, uint8_t b);
void OR(uint8_t a, uint8_t b);
void XOR(uint8_t a, uint8_t b);
void NOT(uint8_t a, uint8_t b);

void LABEL(uint8_t k, uint8_t b);
void GOTO(uint8_t k, uint8_t b);
void JUMP(uint8_t a, uint8_t k);
void CALL(uint8_t k, uint8_t b);
void RETURN(uint8_t a, uint8_t b);

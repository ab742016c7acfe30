#include "instructions.hpp"

#include <cstdlib>
#include <string>

#include "console.hpp"
#include "machine.hpp"
#include "stack.hpp"

namespace {

[[noreturn]] void divisionByZero() {
    writeLine("Division by zero at instruction " + std::to_string(POINTER));
    halt(1);
}

}  // namespace

std::array<int32_t, 256> LABELS = [] {
    std::array<int32_t, 256> none;
    none.fill(-1);
    return none;
}();

void indexLabels() {
    LABELS.fill(-1);
    for (uint32_t i = LENCODE; i-- > 0;) {
        if (CODE[i].opcode == OP_LABEL) LABELS[CODE[i].arg1] = static_cast<int32_t>(i);
    }
}

void findLabel(uint8_t k) {
    if (const int32_t at = LABELS[k]; at >= 0) POINTER = at;
}

void ADD(uint8_t a, uint8_t b) { cell(a) = static_cast<uint8_t>(cell(a) + cell(b)); }
void SUB(uint8_t a, uint8_t b) { cell(a) = static_cast<uint8_t>(cell(a) - cell(b)); }
void MUL(uint8_t a, uint8_t b) { cell(a) = static_cast<uint8_t>(cell(a) * cell(b)); }

void DIV(uint8_t a, uint8_t b) {
    if (cell(b) == 0) divisionByZero();
    cell(a) = static_cast<uint8_t>(cell(a) / cell(b));
}

void MOD(uint8_t a, uint8_t b) {
    if (cell(b) == 0) divisionByZero();
    cell(a) = static_cast<uint8_t>(cell(a) % cell(b));
}

void SET(uint8_t a, uint8_t v) { cell(a) = v; }

// Both positions are read before the one write.
void COP(uint8_t a, uint8_t b) {
    const uint8_t source = cell(a);
    const uint8_t destination = cell(b);
    cell(destination) = cell(source);
}

void INCR(uint8_t a, uint8_t v) { cell(a) = static_cast<uint8_t>(cell(a) + v); }
void DECR(uint8_t a, uint8_t v) { cell(a) = static_cast<uint8_t>(cell(a) - v); }

// One draw per RAND. n = y - x + 1 is not reduced: a negative n counts |n|
// values upward from x, wrapping past 255; n = 0 means the whole circle.
void RAND(uint8_t a, uint8_t b) {
    const int r = std::rand();
    const int x = cell(a);
    const int n = cell(b) - x + 1;
    const int k = n == 0 ? r % 256 : r % n;
    cell(a) = static_cast<uint8_t>(x + k);
}

void GT(uint8_t a, uint8_t b) { cell(a) = cell(a) > cell(b); }
void LT(uint8_t a, uint8_t b) { cell(a) = cell(a) < cell(b); }
void GTE(uint8_t a, uint8_t b) { cell(a) = cell(a) >= cell(b); }
void LTE(uint8_t a, uint8_t b) { cell(a) = cell(a) <= cell(b); }
void EQ(uint8_t a, uint8_t b) { cell(a) = cell(a) == cell(b); }
void NOTEQ(uint8_t a, uint8_t b) { cell(a) = cell(a) != cell(b); }
void AND(uint8_t a, uint8_t b) { cell(a) = cell(a) != 0 && cell(b) != 0; }
void OR(uint8_t a, uint8_t b) { cell(a) = cell(a) != 0 || cell(b) != 0; }
void XOR(uint8_t a, uint8_t b) { cell(a) = cell(a) ^ cell(b); }
void NOT(uint8_t a, uint8_t) { cell(a) = cell(a) == 0; }

void LABEL(uint8_t, uint8_t) {}
void GOTO(uint8_t k, uint8_t) { findLabel(k); }

void JUMP(uint8_t a, uint8_t k) {
    if (cell(a) == 0) findLabel(k);
}

// The CALL's own index goes on the call stack first, label or no label.
void CALL(uint8_t k, uint8_t) {
    push(CALLS, POINTER);
    findLabel(k);
}

void RETURN(uint8_t, uint8_t) {
    if (isEmpty(CALLS)) halt(0);
    POINTER = pop(CALLS);
}

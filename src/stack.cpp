#include "stack.hpp"

#include <new>

#include "console.hpp"
#include "machine.hpp"

Stack STACK = nullptr;
Stack CALLS = nullptr;

void initialize(Stack& stack) { stack = nullptr; }

void push(Stack& stack, int32_t value) {
    auto* node = new (std::nothrow) StackNode{value, stack};
    if (node == nullptr) {
        writeLine("Memory allocation failed!");
        halt(1);
    }
    stack = node;
}

int32_t pop(Stack& stack) {
    if (stack == nullptr) {
        writeLine("Stack is empty!");
        return -1;
    }
    StackNode* top = stack;
    const int32_t value = top->value;
    stack = top->next;
    delete top;
    return value;
}

int isEmpty(const Stack& stack) { return stack == nullptr; }

void PUSH(uint8_t a, uint8_t) { push(STACK, cell(a)); }
void POP(uint8_t a, uint8_t) { cell(a) = static_cast<uint8_t>(pop(STACK)); }

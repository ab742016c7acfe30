// The linked stack behind both the data stack and the call stack.
#pragma once

#include <cstdint>

struct StackNode {
    int32_t value;
    StackNode* next;
};

// A stack is the reference to its top node; none means empty.
using Stack = StackNode*;

extern Stack STACK;  // the data stack of PUSH and POP
extern Stack CALLS;  // the call stack of CALL and RETURN: indices of CALLs

void initialize(Stack& stack);
// When no node can be had: "Memory allocation failed!" and the run ends, status 1.
void push(Stack& stack, int32_t value);
// On an empty stack: "Stack is empty!" and -1.
int32_t pop(Stack& stack);
int isEmpty(const Stack& stack);

void PUSH(uint8_t a, uint8_t b);
void POP(uint8_t a, uint8_t b);

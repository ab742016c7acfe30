#include "stack.hpp"

#include <cstdlib>

#include "console.hpp"
#include "machine.hpp"

Stack STACK = nullptr;
Stack CALLS = nullptr;

namespace {

// Nodes come from blocks of many, and a popped node is kept for the next
// push: a push or a pop is then a few instructions and a node costs its own
// 16 bytes. Blocks are never given back; the nodes go with the process.
constexpr std::size_t NODES_PER_BLOCK = 1 << 16;
StackNode* FREE_NODES = nullptr;
StackNode* FRESH_NODES = nullptr;
std::size_t FRESH_LEFT = 0;

StackNode* newNode() {
    if (FREE_NODES != nullptr) {
        StackNode* node = FREE_NODES;
        FREE_NODES = node->next;
        return node;
    }
    if (FRESH_LEFT == 0) {
        FRESH_NODES = static_cast<StackNode*>(std::malloc(NODES_PER_BLOCK * sizeof(StackNode)));
        if (FRESH_NODES == nullptr) {
            writeLine("Memory allocation failed!");
            halt(1);
        }
        FRESH_LEFT = NODES_PER_BLOCK;
    }
    --FRESH_LEFT;
    return FRESH_NODES++;
}

void releaseNode(StackNode* node) {
    node->next = FREE_NODES;
    FREE_NODES = node;
}

}  // namespace

void initialize(Stack& stack) { stack = nullptr; }

void push(Stack& stack, int32_t value) {
    StackNode* node = newNode();
    *node = {value, stack};
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
    releaseNode(top);
    return value;
}

int isEmpty(const Stack& stack) { return stack == nullptr; }

void PUSH(uint8_t a, uint8_t) { push(STACK, cell(a)); }
void POP(uint8_t a, uint8_t) { cell(a) = static_cast<uint8_t>(pop(STACK)); }

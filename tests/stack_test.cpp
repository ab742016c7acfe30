#include <gtest/gtest.h>

#include "console.hpp"
#include "machine.hpp"
#include "stack.hpp"

namespace {

TEST(Stack, LastInFirstOut) {
    Stack s;
    initialize(s);
    EXPECT_EQ(isEmpty(s), 1);
    push(s, 1);
    push(s, -7);
    push(s, 200);
    EXPECT_EQ(isEmpty(s), 0);
    EXPECT_EQ(pop(s), 200);
    EXPECT_EQ(pop(s), -7);
    EXPECT_EQ(pop(s), 1);
    EXPECT_EQ(isEmpty(s), 1);
}

TEST(Stack, EmptyPopSaysSoAndGivesMinusOneThenRecovers) {
    Stack s;
    initialize(s);
    testing::internal::CaptureStdout();
    EXPECT_EQ(pop(s), -1);
    EXPECT_EQ(pop(s), -1);
    flushOutput();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Stack is empty!\nStack is empty!\n");
    EXPECT_EQ(isEmpty(s), 1);
    push(s, 5);
    EXPECT_EQ(pop(s), 5);
}

TEST(Stack, StacksAreIndependent) {
    Stack a, b;
    initialize(a);
    initialize(b);
    push(a, 1);
    push(b, 2);
    push(a, 3);
    EXPECT_EQ(pop(b), 2);
    EXPECT_EQ(isEmpty(b), 1);
    EXPECT_EQ(pop(a), 3);
    EXPECT_EQ(pop(a), 1);
}

TEST(Stack, MillionsDeepThenUnwound) {
    Stack s;
    initialize(s);
    constexpr int depth = 3'000'000;
    for (int i = 0; i < depth; ++i) push(s, i);
    for (int i = depth - 1; i >= 0; --i) ASSERT_EQ(pop(s), i);
    EXPECT_EQ(isEmpty(s), 1);
}

TEST(StackInstructions, PushAndPopNameCellsOfTheCurrentChunk) {
    initialize(STACK);
    MEMOIRE[3] = 200;
    MEMOIRE[9] = 2;
    PUSH(3, 99);
    SETCHUNK(9, 0);
    POP(3, 0);
    EXPECT_EQ(MEMOIRE[2 * 256 + 3], 200);
    EXPECT_EQ(isEmpty(STACK), 1);
    testing::internal::CaptureStdout();
    POP(4, 0);  // empty: the cell still takes the low 8 bits of -1
    flushOutput();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Stack is empty!\n");
    EXPECT_EQ(MEMOIRE[2 * 256 + 4], 255);
    MEMOIRE[2 * 256 + 9] = 0;
    SETCHUNK(9, 0);
}

}  // namespace

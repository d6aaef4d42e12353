// A tiny outside library for the DLL-command tests, built twice with a
// different PROBE_VALUE so that a test can tell which copy was loaded.
#include <cstdint>

extern "C" {

__attribute__((visibility("default"))) int ProbeValue() {
    return PROBE_VALUE;
}

// Weights every argument by its position, so a swapped or lost one shows.
__attribute__((visibility("default"))) int64_t ProbeWeightedSum(int64_t a1, int64_t a2, int64_t a3,
                                                                int64_t a4, int64_t a5, int64_t a6,
                                                                int64_t a7, int64_t a8) {
    return a1 + 2 * a2 + 3 * a3 + 4 * a4 + 5 * a5 + 6 * a6 + 7 * a7 + 8 * a8;
}

// Export number 7, the way our libraries offer ordinals.
__attribute__((visibility("default"))) int ordinal_7() {
    return 700 + PROBE_VALUE;
}

}  // extern "C"

// A callee written for a convention in which it removes its arguments: it
// returns with 8 bytes popped off the caller's stack.
asm(R"(
    .text
    .globl ProbePopsEight
    .type ProbePopsEight, @function
ProbePopsEight:
    movq %rdi, %rax
    ret $8
    .size ProbePopsEight, .-ProbePopsEight
)");

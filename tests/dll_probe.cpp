// A tiny outside library for the DLL-command tests, built twice with a
// different PROBE_VALUE so that a test can tell which copy was loaded.
#include <cstdint>

// Windows takes the exports, with their ordinals, from dll_probe.def.
#ifdef _WIN32
#define PROBE_EXPORT
#else
#define PROBE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

PROBE_EXPORT int ProbeValue() {
    return PROBE_VALUE;
}

// Weights every argument by its position, so a swapped or lost one shows.
PROBE_EXPORT int64_t ProbeWeightedSum(int64_t a1, int64_t a2, int64_t a3, int64_t a4, int64_t a5,
                                      int64_t a6, int64_t a7, int64_t a8) {
    return a1 + 2 * a2 + 3 * a3 + 4 * a4 + 5 * a5 + 6 * a6 + 7 * a7 + 8 * a8;
}

// Export number 7, the way our libraries offer ordinals.
PROBE_EXPORT int ordinal_7() {
    return 700 + PROBE_VALUE;
}

}  // extern "C"

// A callee written for a convention in which it removes its arguments: it
// returns with 8 bytes popped off the caller's stack.
#ifdef _WIN32
asm(R"(
    .text
    .globl ProbePopsEight
    .def ProbePopsEight; .scl 2; .type 32; .endef
ProbePopsEight:
    movq %rcx, %rax
    ret $8
)");
#else
asm(R"(
    .text
    .globl ProbePopsEight
    .type ProbePopsEight, @function
ProbePopsEight:
    movq %rdi, %rax
    ret $8
    .size ProbePopsEight, .-ProbePopsEight
)");
#endif

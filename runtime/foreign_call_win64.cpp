// The Windows x64 side of CallForeign.
#include "runtime/foreign_call.h"

// VelmoraCallForeign(function, words, count, drift): the first four words go
// in rcx, rdx, r8 and r9, the rest on the stack last to first, above the 32
// bytes of shadow space the callee may use; rsp is 16-byte aligned at the
// call. The stack pointer is saved in r15 right before the call and compared
// after it; rbp restores the frame whatever the callee did to rsp.
asm(R"(
    .text
    .p2align 4
    .globl VelmoraCallForeign
    .def VelmoraCallForeign; .scl 2; .type 32; .endef
    .seh_proc VelmoraCallForeign
VelmoraCallForeign:
    pushq %rbp
    .seh_pushreg %rbp
    pushq %rbx
    .seh_pushreg %rbx
    pushq %r12
    .seh_pushreg %r12
    pushq %r13
    .seh_pushreg %r13
    pushq %r14
    .seh_pushreg %r14
    pushq %r15
    .seh_pushreg %r15
    subq $8, %rsp
    .seh_stackalloc 8
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    movq %rcx, %r12
    movq %rdx, %r13
    movq %r8, %rbx
    movq %r9, %r14
    cmpq $4, %rbx
    jbe 2f
    testq $1, %rbx
    jz 1f
    subq $8, %rsp
1:  pushq -8(%r13,%rbx,8)
    decq %rbx
    cmpq $4, %rbx
    ja 1b
2:  subq $32, %rsp
    movq %rsp, %r15
    movq 0(%r13), %rcx
    movq 8(%r13), %rdx
    movq 16(%r13), %r8
    movq 24(%r13), %r9
    call *%r12
    movq %rsp, %rcx
    subq %r15, %rcx
    movq %rcx, (%r14)
    leaq 8(%rbp), %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbx
    popq %rbp
    ret
    .seh_endproc
)");

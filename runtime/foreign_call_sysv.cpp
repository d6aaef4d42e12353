// The System V x86-64 side of CallForeign.
#include "runtime/foreign_call.h"

// VelmoraCallForeign(function, words, count, drift): `words` holds at least six
// entries so that all six argument registers can be loaded unconditionally.
// The stack pointer is saved in r15 right before the call and compared after
// it; rbp restores the frame whatever the callee did to rsp.
asm(R"(
    .text
    .p2align 4
    .globl VelmoraCallForeign
    .hidden VelmoraCallForeign
    .type VelmoraCallForeign, @function
VelmoraCallForeign:
    .cfi_startproc
    endbr64
    pushq %rbp
    .cfi_def_cfa_offset 16
    .cfi_offset %rbp, -16
    movq %rsp, %rbp
    .cfi_def_cfa_register %rbp
    pushq %rbx
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    .cfi_offset %rbx, -24
    .cfi_offset %r12, -32
    .cfi_offset %r13, -40
    .cfi_offset %r14, -48
    .cfi_offset %r15, -56
    subq $8, %rsp
    movq %rdi, %r12
    movq %rsi, %r13
    movq %rcx, %r14
    movq %rdx, %rbx
    cmpq $6, %rbx
    jbe 2f
    testq $1, %rbx
    jz 1f
    subq $8, %rsp
1:  pushq -8(%r13,%rbx,8)
    decq %rbx
    cmpq $6, %rbx
    ja 1b
2:  movq %rsp, %r15
    movq 0(%r13), %rdi
    movq 8(%r13), %rsi
    movq 16(%r13), %rdx
    movq 24(%r13), %rcx
    movq 32(%r13), %r8
    movq 40(%r13), %r9
    xorl %eax, %eax
    call *%r12
    movq %rsp, %rcx
    subq %r15, %rcx
    movq %rcx, (%r14)
    leaq -40(%rbp), %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbx
    popq %rbp
    .cfi_def_cfa %rsp, 8
    ret
    .cfi_endproc
    .size VelmoraCallForeign, .-VelmoraCallForeign
)");

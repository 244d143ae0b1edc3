// CallWithWords for x86-64 Windows: see call_words.h.
//
// uintptr_t CallWithWords(const void* function /* rcx */,
//                         const uintptr_t* words /* rdx */, size_t count /* r8 */)
// The callee finds the first four words in rcx, rdx, r8 and r9 and all of
// them in the stack slots from its return address upward; the first four
// slots are the shadow space that the callee owns. The unwind information
// lets exceptions raised in the callee walk through this frame.

        .text
        .globl  CallWithWords
        .def    CallWithWords; .scl 2; .type 32; .endef
        .p2align 4
        .seh_proc CallWithWords
CallWithWords:
        pushq   %rbp
        .seh_pushreg %rbp
        pushq   %rsi
        .seh_pushreg %rsi
        pushq   %rdi
        .seh_pushreg %rdi
        movq    %rsp, %rbp
        .seh_setframe %rbp, 0
        .seh_endprologue

        movq    %rcx, %r10              // function
        movq    %rdx, %rsi              // words
        movq    %r8, %rcx               // count
        movq    %r8, %rax
        cmpq    $4, %rax
        jae     1f
        movq    $4, %rax                // the shadow space is always there
1:      shlq    $3, %rax
        subq    %rax, %rsp
        andq    $-16, %rsp
        movq    $0, 0(%rsp)             // unused register words read as 0
        movq    $0, 8(%rsp)
        movq    $0, 16(%rsp)
        movq    $0, 24(%rsp)
        movq    %rsp, %rdi
        cld
        rep movsq

        movq    0(%rsp), %rcx
        movq    8(%rsp), %rdx
        movq    16(%rsp), %r8
        movq    24(%rsp), %r9
        call    *%r10

        leaq    0(%rbp), %rsp
        popq    %rdi
        popq    %rsi
        popq    %rbp
        ret
        .seh_endproc

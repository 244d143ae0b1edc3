// CallWithWords for 32-bit x86 (Windows and Linux): see call_words.h.
//
// uintptr_t CallWithWords(const void* function, const uintptr_t* words, size_t count)
// cdecl: function at 8(%ebp), words at 12(%ebp), count at 16(%ebp) once
// the frame is set up.

#define JOIN2(a, b) a##b
#define JOIN(a, b) JOIN2(a, b)
#define SYMBOL(name) JOIN(__USER_LABEL_PREFIX__, name)

        .text
        .globl  SYMBOL(CallWithWords)
#ifdef __ELF__
        .type   SYMBOL(CallWithWords), @function
#else
        .def    SYMBOL(CallWithWords); .scl 2; .type 32; .endef
#endif
        .p2align 4
SYMBOL(CallWithWords):
        .cfi_startproc
        pushl   %ebp
        .cfi_def_cfa_offset 8
        .cfi_offset %ebp, -8
        movl    %esp, %ebp
        .cfi_def_cfa_register %ebp
        pushl   %esi
        pushl   %edi
        .cfi_offset %esi, -12
        .cfi_offset %edi, -16

        movl    16(%ebp), %ecx          // count
        movl    12(%ebp), %esi          // words
        leal    0(,%ecx,4), %eax
        subl    %eax, %esp
        andl    $-16, %esp              // aligned for callees that expect it
        movl    %esp, %edi
        cld
        rep movsl                       // words[0] lands at the lowest address: the first argument

        call    *8(%ebp)

        // Whatever the callee removed, the frame pointer knows where the
        // saved registers are.
        leal    -8(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebp
        .cfi_def_cfa %esp, 4
        ret
        .cfi_endproc
#ifdef __ELF__
        .size   SYMBOL(CallWithWords), . - SYMBOL(CallWithWords)
        .section .note.GNU-stack, "", @progbits
#endif

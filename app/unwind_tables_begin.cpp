// On i686 stands in for the compiler's first frame-registration object: a
// label at the start of the unwind tables. Placed first in every link, its
// (empty) part of .eh_frame comes before every other object's.
__asm__(".section .eh_frame,\"dr\"\n"
        ".globl _CorvantisUnwindTablesBegin\n"
        "_CorvantisUnwindTablesBegin:\n"
        ".text");

// On i686 stands in for the compiler's last frame-registration object: a
// label at the end of the unwind tables. Placed last in every link, its
// (empty) part of .eh_frame comes after every other object's.
__asm__(".section .eh_frame,\"dr\"\n"
        ".globl _CorvantisUnwindTablesEnd\n"
        "_CorvantisUnwindTablesEnd:\n"
        ".text");

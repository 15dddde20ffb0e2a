// On i686 stands in for the compiler's last frame-registration object: the
// zero word that ends the unwind tables. Placed last in every link, its part
// of .eh_frame comes after every other object's.
__asm__(".section .eh_frame,\"dr\"\n"
        ".long 0\n"
        ".text");

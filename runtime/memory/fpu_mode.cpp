// The x87 mode that every floating conversion of the runtime relies on.
#include "rt_numbers.h"

const uint16_t FpuControlWord = 0x033F;

void FpuModeReset() {
    __asm__ __volatile__(
        "fwait\n\t"
        "fninit\n\t"
        "fnclex\n\t"
        "fldcw %0"
        :
        : "m"(FpuControlWord));
}

uint16_t FpuReadControlWord() {
    uint16_t word;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

int32_t RoundNearest(double value) {
    int32_t result;
    __asm__("fistpl %0" : "=m"(result) : "t"(static_cast<long double>(value)) : "st");
    return result;
}

// An upper-case copy of a string on the runtime heap. Apart from the other
// heap strings, so that a program that never asks for one does not import
// the platform's case mapping.
#include <windows.h>

#include "rt_strings.h"

char* StrUpperDuplicate(const char* source) {
    char* block = StrDuplicate(source);
    if (block) CharUpperA(block);
    return block;
}

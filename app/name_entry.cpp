// The name-entry application script.
#include "rt_program.h"

void ApplicationScript() {
}

// The animation clock's step at the system's own millisecond tick count.
#include <windows.h>

#include "loop/clock.h"

void AdvanceClock() { StepClock(GetTickCount()); }

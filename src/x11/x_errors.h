// X errors: trapped around the set-up calls that expect them, silent when
// they come from our window being destroyed under us, and otherwise printed
// once each. A lost connection ends the program at once.
#pragma once

#include <X11/Xlib.h>

// Installs the handlers on the display.
void CatchXErrors();
// Starts noting, instead of printing, the errors of the calls that follow.
void TrapXErrors();
// Waits for the replies to the calls since TrapXErrors; returns the first
// error's code, 0 for none, and stops trapping.
int UntrapXErrors();

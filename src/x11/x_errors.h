// X errors: trapped around the set-up calls that expect them, silent when
// they come from our window being destroyed under us, and otherwise printed
// once each. A lost connection ends the program at once.
#pragma once

// Installs the handlers on the display, whose GLX errors start at glxErrorBase.
void CatchXErrors(int glxErrorBase);
// Starts noting, instead of printing, the errors of the calls that follow.
void TrapXErrors();
// Waits for the replies to the calls since TrapXErrors; returns the first
// error's code, 0 for none, and stops trapping.
int UntrapXErrors();

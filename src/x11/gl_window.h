// The X display, the window the program draws into, and its GLX context.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "linux/options.h"

extern Display* XDisplay;
extern Window DrawWindow;  // where the scene is drawn: whose size it follows and whose end ends it
extern bool OwnsWindow;  // a window of our own: its title, keys and close button are ours
extern int32_t WindowWidth;
extern int32_t WindowHeight;
extern Atom ProtocolsAtom;  // WM_PROTOCOLS, the type of the close request
extern Atom DeleteWindowAtom;

// Connects to $DISPLAY and takes over X error reporting; ends the process
// with one line when there is no display or no GLX on it.
void OpenXDisplay(const char* source);
// Makes the chosen window and a current GLX context for it; ends the process
// with one line when it cannot.
void SetUpWindow(const WindowChoice& choice);
// Shows the frame just drawn.
void PresentFrame();
// Releases the context, the window we made and the display connection.
void CloseXDisplay();

// Keyboard and mouse input as the hardware would give it.
#pragma once

#include <windows.h>

// Presses and releases the keys in order: all down, then all up in reverse.
void PressKeys(const WORD* keys, int count);
// Presses and releases one key.
void PressKey(WORD key);
// Moves the pointer around the screen by absolute and relative moves.
void WanderMouse();

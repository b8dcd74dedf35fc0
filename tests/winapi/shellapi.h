// The stand-in declares the shell function in windows.h.
#pragma once

#include <windows.h>

#include "display/report_error.h"

#include <windows.h>

void ReportError(const char* text) { MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR); }

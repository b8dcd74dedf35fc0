// Failure reporting for the probe: one line per failed check.
#pragma once

// Failed checks so far; the probe's exit code is non-zero when any failed.
extern int FailureCount;

// Prints "FAIL: <message>" and counts it unless ok; returns ok.
bool Check(bool ok, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
// Prints one measurement or progress line.
void Note(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

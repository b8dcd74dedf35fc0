// Puts the program-wide state and the stand-in back to process start.
#pragma once

void ResetProgram();

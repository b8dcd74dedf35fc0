// Which mode the first command-line argument asks for.
#pragma once

enum class SaverMode { FullScreen, Settings, Password, Preview };

// Looks only at the second character, case-sensitively: "c", "a" and "p";
// anything else, or an argument shorter than two characters, is full screen.
SaverMode ChooseMode(const char* firstArgument);

// The .ico file made from the icon picture with Debian's tools: pngquant
// quantises it to 256 colours, icotool stores the 8-bit and the 24-bit image.
#pragma once

#include <string>

#include "icon_picture.h"

// Writes the icon to path through path + ".partial", so path never holds a
// partial icon; false with error set and nothing left behind on failure.
// Equal pictures give equal bytes.
bool WriteIcon(const IconPicture& picture, const std::string& path, std::string& error);

// The services the portable scene takes from the web page.
#include "scene/scene_services.h"

#include <emscripten/emscripten.h>

#include <cstdlib>

#include "web/page_seed.h"

uint32_t PageSeed;

uint32_t ReadSeedClock() { return PageSeed; }

void ExitWithMessage(const char* text, const char* caption, bool, int exitCode) {
    // showMessage is the page's: the text in place of the canvas.
    EM_ASM({ showMessage(UTF8ToString($0) + ": " + UTF8ToString($1)); }, caption, text);
    std::exit(exitCode);
}

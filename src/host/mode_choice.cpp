#include "host/mode_choice.h"

SaverMode ChooseMode(const char* firstArgument) {
    if (firstArgument[0] == '\0' || firstArgument[1] == '\0') return SaverMode::FullScreen;
    switch (firstArgument[1]) {
        case 'c': return SaverMode::Settings;
        case 'a': return SaverMode::Password;
        case 'p': return SaverMode::Preview;
        default: return SaverMode::FullScreen;
    }
}

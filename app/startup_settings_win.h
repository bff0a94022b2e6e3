#pragma once

#include "settings/app_settings.h"

namespace saltor {

// The settings as the program starts with them: defaults, the help document's path beside the
// program file, the settings file read over them, and the board cursor resolved.
AppSettings LoadStartupSettings();

// The process-wide record, built with LoadStartupSettings before wWinMain runs. Defined in
// main.cpp, so that only the program (not a test) reads the player's settings at start-up.
AppSettings& ProcessSettings();

}  // namespace saltor

#pragma once

#include <string>

#include "settings/practice_options.h"

namespace saltor {

// The per-user folder of the settings: application data, then "Lorvaine", then the program
// file's base name (so a renamed copy keeps its own settings). Missing levels are created;
// empty when the application-data folder cannot be found.
std::wstring SettingsFolder();

// SettingsFolder() plus "Saltor.cfg", whatever the program file is called; empty with the folder.
std::wstring SettingsFilePath();

// The practice modes, in "Entrainement.cfg" beside the settings file. A missing or damaged file
// gives both modes off; Save is true only when the file was replaced.
PracticeOptions LoadPracticeOptions();
bool SavePracticeOptions(const PracticeOptions& options);

}  // namespace saltor

#include "app/startup_settings_win.h"

#include "app/program_paths.h"
#include "winkit/file_win.h"

namespace saltor {

AppSettings LoadStartupSettings() {
    AppSettings settings;
    settings.HelpFilePath = HelpFilePathFor(ProgramFilePath());
    settings.Load();
    settings.ReloadBoardCursor();
    return settings;
}

}  // namespace saltor

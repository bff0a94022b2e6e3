#include "app/startup_settings.h"

#include "app/help_path.h"
#include "settings/settings_file_win.h"

namespace saltor {

AppSettings LoadStartupSettings() {
    AppSettings settings;
    settings.HelpFilePath = HelpFilePathFor(ProgramFilePath());
    settings.Load();
    settings.ReloadBoardCursor();
    return settings;
}

}  // namespace saltor

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/main_dlg_win.h"
#include "app/startup_settings_win.h"
#include "winkit/desktop_win.h"
#include "winkit/message_loop_win.h"

namespace saltor {

namespace {

// Built before wWinMain: everything from the first window on finds the settings loaded.
AppSettings g_settings = LoadStartupSettings();

// The main window lives on this stack frame for the whole run. The command line is not read.
int Run(HINSTANCE instance, int showCommand) {
    CMessageLoop loop;
    SystemDesktop desktop;
    CMainDlg mainDlg(ProcessSettings(), desktop);
    if (mainDlg.Create(instance) == nullptr) {
        return 0;  // the window could not be created
    }
    ShowWindow(mainDlg.Hwnd(), showCommand);
    return loop.Run();
}  // the board releases its images and GDI+ here

}  // namespace

AppSettings& ProcessSettings() {
    return g_settings;
}

}  // namespace saltor

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    // Neither result matters: without them the windows still work, only less themed.
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    const int exitCode = saltor::Run(instance, showCommand);
    CoUninitialize();
    return exitCode;
}

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/app_module.h"
#include "app/main_dlg.h"
#include "app/message_loop.h"
#include "app/startup_settings.h"

namespace saltor {

namespace {

// Built before wWinMain: everything from the first window on finds the settings loaded.
AppSettings g_settings = LoadStartupSettings();

// The main window lives on this stack frame for the whole run. The command line is not read.
int Run(int showCommand) {
    CMessageLoop loop;
    g_module.AddMessageLoop(&loop);
    int exitCode = 0;  // the window could not be created
    {
        CMainDlg mainDlg(ProcessSettings());
        if (mainDlg.Create(g_module.Instance()) != nullptr) {
            ShowWindow(mainDlg.Hwnd(), showCommand);
            exitCode = loop.Run();
        }
        g_module.RemoveMessageLoop();
    }  // the board releases its images and GDI+ here
    return exitCode;
}

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

    saltor::g_module.Init(instance);
    const int exitCode = saltor::Run(showCommand);
    saltor::g_module.Term();
    CoUninitialize();
    return exitCode;
}

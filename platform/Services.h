#pragma once
// Every platform service the program uses, as the process entry hands them to the
// application. Each feature takes only the services it needs.

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WindowManager.h"

namespace qvn::platform {

struct Services {
  IUiToolkit& ui;
  IMessageBoxes& messageBoxes;
  IFolderBrowser& folderBrowser;
  IFileSystem& files;
  ITextServices& text;
  IClock& clock;
  IWindowManager& windows;
  IProcessService& processes;
  IShell& shell;
};

// The application's entry, defined above the platform layer (app/) and called by the
// platform's process entry once the services exist. Returns the process exit code.
int RunApplication(Services& services);

}  // namespace qvn::platform

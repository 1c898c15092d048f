// The loaded applications as the editor sees them: which one is running (acedDefun registers
// functions for it), and the sending of messages to an entry point.
#pragma once

#include <string>

#include "cad/acad_types.h"

namespace tessera::apps {

using EntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode message, void* packet);

struct Application {
  std::string name;  // the library's file name without folder, or the name it was given
  std::string path;
  void* library = nullptr;  // null for an application linked into the program
  EntryPoint entry = nullptr;
};

// The application whose entry point is running, or null.
Application* RunningApplication();
bool IsLoaded(const Application* application);
// Calls the entry point with the application marked as running.
AcRx::AppRetCode SendAppMessage(Application& application, AcRx::AppMsgCode message,
                                void* packet = nullptr);

}  // namespace tessera::apps

// Applications (plug-ins): loaded with dlopen and driven through their entry point with the
// host's life-cycle messages.
#pragma once

#include <string>
#include <vector>

#include "cad/editor.h"

namespace tessera {

// Loads an application and sends it the init message, then a drawing-load message for every
// open drawing. Loading one that is loaded already does nothing.
bool LoadApplication(const std::string& path, std::string& error);
// Sends drawing-unload for every open drawing, then the unload message, then closes the library.
bool UnloadApplication(const std::string& nameOrPath, std::string& error);
void UnloadAllApplications();
// An application linked into the program itself, loaded under a name as a library would be
// (tests drive their own entry points through it).
using ApplicationEntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode message, void* packet);
bool LoadLinkedApplication(const std::string& name, ApplicationEntryPoint entryPoint,
                           std::string& error);
// Names of the loaded applications, in load order.
std::vector<std::string> LoadedApplications();
// Drawing messages to every loaded application, for a document that was made or is closing.
void NotifyApplicationsDrawingLoaded(AcApDocument* document);
void NotifyApplicationsDrawingUnloading(AcApDocument* document);

}  // namespace tessera

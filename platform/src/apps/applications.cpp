// Loading and unloading applications, and the life-cycle messages they are sent.
#include "platform/applications.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "apps/application_registry.h"
#include "cad/arx.h"
#include "editor/document_state.h"
#include "editor/message_text.h"
#include "platform/search_path.h"

namespace tessera {

namespace {

using apps::Application;

// Messages of loading and unloading.
constexpr const char* kNotFound = "cannot find the application \"%s\"";
constexpr const char* kNotLoadable = "cannot load the application \"%s\": %s";
constexpr const char* kNoEntryPoint = "\"%s\" is not an application: it has no %s";
constexpr const char* kWrongVersion =
    "\"%s\" was built for interface version %s; this host has version %s";
constexpr const char* kRefusedToLoad = "the application \"%s\" refused to load";
constexpr const char* kNotLoaded = "the application \"%s\" is not loaded";
constexpr const char* kEntryPointName = "acrxEntryPoint";
constexpr const char* kVersionName = "acrxGetApiVersion";
constexpr const char* kLibrarySuffix = ".so";
constexpr const char* kLibraryPrefix = "lib";

std::string Format(const char* format, const std::string& first, const std::string& second = {},
                   const std::string& third = {}) {
  return editor::Substitute(format, {first, second, third});
}

std::vector<std::unique_ptr<Application>>& Loaded() {
  static std::vector<std::unique_ptr<Application>> applications;
  return applications;
}

std::vector<Application*>& Running() {
  static std::vector<Application*> running;
  return running;
}

std::string Stem(const std::string& path) {
  std::string stem = std::filesystem::path(path).stem().string();
  if (stem.starts_with(kLibraryPrefix)) stem.erase(0, std::string(kLibraryPrefix).size());
  return stem;
}

// The library a name stands for: the path as given, then the search path, with and without
// the ".so" suffix and the "lib" prefix.
std::optional<std::string> ResolveLibrary(const std::string& name) {
  std::filesystem::path given(name);
  std::vector<std::string> candidates = {name, name + kLibrarySuffix};
  std::string file = given.filename().string();
  std::string folder = given.has_parent_path() ? given.parent_path().string() + "/" : "";
  candidates.push_back(folder + kLibraryPrefix + file);
  candidates.push_back(folder + kLibraryPrefix + file + kLibrarySuffix);
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error))
      return std::filesystem::absolute(candidate).string();
    if (std::optional<std::string> found = FindSupportFile(candidate))
      return std::filesystem::absolute(*found).string();
  }
  return std::nullopt;
}

Application* Find(const std::string& nameOrPath) {
  std::optional<std::string> path = ResolveLibrary(nameOrPath);
  for (const auto& application : Loaded()) {
    if (application->name == nameOrPath || (path && application->path == *path) ||
        Stem(application->name) == Stem(nameOrPath))
      return application.get();
  }
  return nullptr;
}

void SendToEveryDocument(Application& application, AcRx::AppMsgCode message) {
  for (AcApDocument* document : acDocManagerPtr()->documents()) {
    editor::DocumentScope scope(document);
    apps::SendAppMessage(application, message);
  }
}

// Adds a loaded application and starts it: init, then a drawing-load for every drawing.
bool Start(std::unique_ptr<Application> made, std::string& error) {
  Application& application = *made;
  Loaded().push_back(std::move(made));
  if (apps::SendAppMessage(application, AcRx::kInitAppMsg, &application) == AcRx::kRetError) {
    error = Format(kRefusedToLoad, application.name);
    void* library = application.library;
    Loaded().pop_back();
    if (library) dlclose(library);
    return false;
  }
  SendToEveryDocument(application, AcRx::kLoadDwgMsg);
  return true;
}

void Stop(Application* application) {
  SendToEveryDocument(*application, AcRx::kUnloadDwgMsg);
  apps::SendAppMessage(*application, AcRx::kUnloadAppMsg, application);
  auto found = std::find_if(Loaded().begin(), Loaded().end(),
                            [&](const auto& loaded) { return loaded.get() == application; });
  std::unique_ptr<Application> stopped = std::move(*found);
  Loaded().erase(found);
  if (stopped->library) dlclose(stopped->library);
}

}  // namespace

namespace apps {

Application* RunningApplication() {
  return Running().empty() ? nullptr : Running().back();
}

bool IsLoaded(const Application* application) {
  return std::any_of(Loaded().begin(), Loaded().end(),
                     [&](const auto& loaded) { return loaded.get() == application; });
}

AcRx::AppRetCode SendAppMessage(Application& application, AcRx::AppMsgCode message, void* packet) {
  // Popped however the entry point returns, an exception included.
  struct RunningScope {
    explicit RunningScope(Application* application) { Running().push_back(application); }
    ~RunningScope() { Running().pop_back(); }
  } scope(&application);
  return application.entry(message, packet);
}

}  // namespace apps

bool LoadApplication(const std::string& path, std::string& error) {
  std::optional<std::string> library = ResolveLibrary(path);
  if (!library) {
    error = Format(kNotFound, path);
    return false;
  }
  for (const auto& application : Loaded())
    if (application->path == *library) return true;
  void* handle = dlopen(library->c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error = Format(kNotLoadable, path, why ? why : "");
    return false;
  }
  auto entry = reinterpret_cast<apps::EntryPoint>(dlsym(handle, kEntryPointName));
  auto version = reinterpret_cast<int (*)()>(dlsym(handle, kVersionName));
  if (entry == nullptr || version == nullptr) {
    error = Format(kNoEntryPoint, path, entry == nullptr ? kEntryPointName : kVersionName);
    dlclose(handle);
    return false;
  }
  if (version() != kTesseraApiVersion) {
    error =
        Format(kWrongVersion, path, std::to_string(version()), std::to_string(kTesseraApiVersion));
    dlclose(handle);
    return false;
  }
  auto application = std::make_unique<Application>();
  application->name = std::filesystem::path(*library).filename().string();
  application->path = *library;
  application->library = handle;
  application->entry = entry;
  return Start(std::move(application), error);
}

bool LoadLinkedApplication(const std::string& name, ApplicationEntryPoint entryPoint,
                           std::string& error) {
  for (const auto& application : Loaded())
    if (application->name == name) return true;
  auto application = std::make_unique<Application>();
  application->name = name;
  application->entry = entryPoint;
  return Start(std::move(application), error);
}

bool UnloadApplication(const std::string& nameOrPath, std::string& error) {
  Application* application = Find(nameOrPath);
  if (application == nullptr) {
    error = Format(kNotLoaded, nameOrPath);
    return false;
  }
  Stop(application);
  return true;
}

void UnloadAllApplications() {
  // The last loaded goes first: it may depend on those before it.
  while (!Loaded().empty()) Stop(Loaded().back().get());
}

std::vector<std::string> LoadedApplications() {
  std::vector<std::string> names;
  for (const auto& application : Loaded()) names.push_back(application->name);
  return names;
}

void NotifyApplicationsDrawingLoaded(AcApDocument* document) {
  for (const auto& application : Loaded()) {
    editor::DocumentScope scope(document);
    apps::SendAppMessage(*application, AcRx::kLoadDwgMsg);
  }
}

void NotifyApplicationsDrawingUnloading(AcApDocument* document) {
  for (auto application = Loaded().rbegin(); application != Loaded().rend(); ++application) {
    editor::DocumentScope scope(document);
    apps::SendAppMessage(**application, AcRx::kUnloadDwgMsg);
  }
}

}  // namespace tessera

// The run-time class registry: class descriptors, the class dictionary, the system registry.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "cad/arx.h"
#include "db/rx_define.h"

namespace {

AcRxDictionary* SystemRegistry() {
  static AcRxDictionary* registry = [] {
    auto* dictionary = new AcRxDictionary;
    dictionary->atPut("ClassDictionary", new AcRxDictionary);
    return dictionary;
  }();
  return registry;
}

AcRxClass* FindClass(const char* name) {
  if (name == nullptr) return nullptr;
  return static_cast<AcRxClass*>(acrxClassDictionary()->at(name));
}

}  // namespace

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
  static AcRxClass* descriptor = tessera::rx::RegisterHostClass("AcRxObject", nullptr, "", nullptr);
  return descriptor;
}

AcRxClass* AcRxObject::isA() const {
  return AcRxObject::desc();
}

bool AcRxObject::isKindOf(const AcRxClass* aClass) const {
  const AcRxClass* own = isA();
  return own != nullptr && own->isDerivedFrom(aClass);
}

AcRxClass::AcRxClass(const std::string& name, const std::string& parentName, int dwgVersion,
                     int maintenanceVersion, int proxyFlags, AcRxPseudoConstructor constructor,
                     const std::string& dxfName, const std::string& appName)
    : m_name(name),
      m_parentName(parentName),
      m_dwgVersion(dwgVersion),
      m_maintenanceVersion(maintenanceVersion),
      m_proxyFlags(proxyFlags),
      m_constructor(constructor),
      m_dxfName(dxfName),
      m_appName(appName) {}

AcRxClass* AcRxClass::desc() {
  static AcRxClass* descriptor =
      tessera::rx::RegisterHostClass("AcRxClass", AcRxObject::desc(), "", nullptr);
  return descriptor;
}

AcRxClass* AcRxClass::isA() const {
  return AcRxClass::desc();
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c != nullptr; c = c->myParent())
    if (c == other) return true;
  return false;
}

AcRxObject* AcRxClass::create() const {
  return m_constructor ? m_constructor() : nullptr;
}

AcRxClass* AcRxDictionary::desc() {
  static AcRxClass* descriptor =
      tessera::rx::RegisterHostClass("AcRxDictionary", AcRxObject::desc(), "", nullptr);
  return descriptor;
}

AcRxClass* AcRxDictionary::isA() const {
  return AcRxDictionary::desc();
}

AcRxObject* AcRxDictionary::at(const char* key) const {
  if (key == nullptr) return nullptr;
  auto found = m_entries.find(key);
  return found == m_entries.end() ? nullptr : found->second;
}

AcRxObject* AcRxDictionary::atPut(const char* key, AcRxObject* object) {
  if (key == nullptr) return nullptr;
  AcRxObject* previous = at(key);
  m_entries[key] = object;
  return previous;
}

AcRxObject* AcRxDictionary::remove(const char* key) {
  if (key == nullptr) return nullptr;
  auto found = m_entries.find(key);
  if (found == m_entries.end()) return nullptr;
  AcRxObject* previous = found->second;
  m_entries.erase(found);
  return previous;
}

AcRxDictionary* acrxSysRegistry() {
  static bool hostClassesEntered = false;
  AcRxDictionary* registry = SystemRegistry();
  if (!hostClassesEntered) {
    hostClassesEntered = true;
    tessera::rx::RegisterAllHostClasses();
  }
  return registry;
}

AcRxDictionary* acrxClassDictionary() {
  return static_cast<AcRxDictionary*>(SystemRegistry()->at("ClassDictionary"));
}

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int dwgVersion,
                        int maintenanceVersion, int proxyFlags, AcRxPseudoConstructor constructor,
                        const char* dxfName, const char* appName) {
  if (className == nullptr || *className == '\0') return nullptr;
  acrxSysRegistry();
  auto* aClass = new AcRxClass(className, parentClassName ? parentClassName : "", dwgVersion,
                               maintenanceVersion, proxyFlags, constructor, dxfName ? dxfName : "",
                               appName ? appName : "");
  aClass->setCustom(true);
  aClass->setParent(FindClass(parentClassName));
  acrxClassDictionary()->atPut(className, aClass);
  return aClass;
}

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int proxyFlags,
                        AcRxPseudoConstructor constructor, const char* dxfName,
                        const char* appName) {
  return newAcRxClass(className, parentClassName, 0, 0, proxyFlags, constructor, dxfName, appName);
}

namespace tessera::db {
// Objects of a class that is going away become unknown objects keeping their data.
void DemoteObjectsOfClass(const AcRxClass* aClass);
}  // namespace tessera::db

void deleteAcRxClass(AcRxClass* aClass) {
  if (aClass == nullptr) return;
  tessera::db::DemoteObjectsOfClass(aClass);
  AcRxDictionary* classes = acrxClassDictionary();
  if (classes->at(aClass->name()) == aClass) classes->remove(aClass->name());
  for (const auto& [name, object] : classes->entries()) {
    auto* other = static_cast<AcRxClass*>(object);
    if (other->myParent() == aClass) other->setParent(nullptr);
  }
  delete aClass;
}

void acrxBuildClassHierarchy() {
  for (const auto& [name, object] : acrxClassDictionary()->entries()) {
    auto* aClass = static_cast<AcRxClass*>(object);
    if (aClass->myParent() == nullptr && *aClass->parentName() != '\0')
      aClass->setParent(FindClass(aClass->parentName()));
  }
}

void acrx_abort(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::fprintf(stderr, "tessera: application aborted: ");
  std::vfprintf(stderr, format, args);
  std::fprintf(stderr, "\n");
  va_end(args);
  std::exit(3);
}

namespace tessera::rx {

AcRxClass* RegisterHostClass(const char* name, AcRxClass* parent, const char* dxfName,
                             AcRxPseudoConstructor constructor) {
  auto* aClass = new AcRxClass(name, parent ? parent->name() : "", 0, 0, 0, constructor,
                               dxfName ? dxfName : "", "");
  aClass->setParent(parent);
  // The dictionary itself may be under construction when the root classes are first used.
  if (AcRxObject* classes = SystemRegistry()->at("ClassDictionary"))
    static_cast<AcRxDictionary*>(classes)->atPut(name, aClass);
  return aClass;
}

}  // namespace tessera::rx

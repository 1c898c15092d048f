// Run-time classes of the host: every host object knows its class descriptor, classes form a
// hierarchy, and applications register their own classes in the system registry.
#pragma once

#include <map>
#include <string>

class AcRxClass;

class AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* aClass) const;
  static AcRxObject* cast(const AcRxObject* object) { return const_cast<AcRxObject*>(object); }
};

using AcRxPseudoConstructor = AcRxObject* (*)();

class AcRxClass : public AcRxObject {
 public:
  AcRxClass(const std::string& name, const std::string& parentName, int dwgVersion,
            int maintenanceVersion, int proxyFlags, AcRxPseudoConstructor constructor,
            const std::string& dxfName, const std::string& appName);
  static AcRxClass* desc();
  AcRxClass* isA() const override;

  const char* name() const { return m_name.c_str(); }
  const char* dxfName() const { return m_dxfName.c_str(); }
  const char* appName() const { return m_appName.c_str(); }
  const char* parentName() const { return m_parentName.c_str(); }
  AcRxClass* myParent() const { return m_parent; }
  int proxyFlags() const { return m_proxyFlags; }
  int getClassVersion(int& maintenanceVersion) const {
    maintenanceVersion = m_maintenanceVersion;
    return m_dwgVersion;
  }
  bool isDerivedFrom(const AcRxClass* other) const;
  // Makes a new object of this class, or null when the class has no constructor.
  AcRxObject* create() const;
  // Whether the class was registered by an application rather than being the host's own.
  bool isCustom() const { return m_custom; }

  void setParent(AcRxClass* parent) { m_parent = parent; }
  void setCustom(bool custom) { m_custom = custom; }

 private:
  std::string m_name;
  std::string m_parentName;
  int m_dwgVersion;
  int m_maintenanceVersion;
  int m_proxyFlags;
  AcRxPseudoConstructor m_constructor;
  std::string m_dxfName;
  std::string m_appName;
  AcRxClass* m_parent = nullptr;
  bool m_custom = false;
};

// A dictionary of named host objects; the system registry and the class dictionary are two.
class AcRxDictionary : public AcRxObject {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  AcRxObject* at(const char* key) const;
  // Stores the object under the key and returns the one it replaced, or null.
  AcRxObject* atPut(const char* key, AcRxObject* object);
  AcRxObject* remove(const char* key);
  bool has(const char* key) const { return at(key) != nullptr; }
  int numEntries() const { return static_cast<int>(m_entries.size()); }
  const std::map<std::string, AcRxObject*>& entries() const { return m_entries; }

 private:
  std::map<std::string, AcRxObject*> m_entries;
};

// The registry holds "ClassDictionary" (every class by name) and "AcEditor" (the editor).
AcRxDictionary* acrxSysRegistry();
AcRxDictionary* acrxClassDictionary();

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int dwgVersion,
                        int maintenanceVersion, int proxyFlags = 0,
                        AcRxPseudoConstructor constructor = nullptr, const char* dxfName = nullptr,
                        const char* appName = nullptr);
AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int proxyFlags = 0,
                        AcRxPseudoConstructor constructor = nullptr, const char* dxfName = nullptr,
                        const char* appName = nullptr);
void deleteAcRxClass(AcRxClass* aClass);
void acrxBuildClassHierarchy();
// Stops the host: the application found a state it cannot go on from.
[[noreturn]] void acrx_abort(const char* format, ...);

// Declares the run-time class members of a host class.
#define CAD_DECLARE_MEMBERS(CLASS_NAME)                                    \
 public:                                                                   \
  static AcRxClass* desc();                                                \
  AcRxClass* isA() const override;                                         \
  static CLASS_NAME* cast(const AcRxObject* object) {                      \
    return (object && object->isKindOf(CLASS_NAME::desc()))                \
               ? static_cast<CLASS_NAME*>(const_cast<AcRxObject*>(object)) \
               : nullptr;                                                  \
  }

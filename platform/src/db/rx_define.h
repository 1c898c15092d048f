// Defines the run-time class members declared with CAD_DECLARE_MEMBERS for the host's own
// classes: the descriptor is made and entered in the class dictionary on first use.
#pragma once

#include "cad/rx.h"

namespace tessera::rx {
AcRxClass* RegisterHostClass(const char* name, AcRxClass* parent, const char* dxfName,
                             AcRxPseudoConstructor constructor);
// Enters every host class in the class dictionary.
void RegisterAllHostClasses();
}  // namespace tessera::rx

#define CAD_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT, DXF_NAME, CONSTRUCTOR)                  \
  AcRxClass* CLASS_NAME::desc() {                                                           \
    static AcRxClass* descriptor =                                                          \
        tessera::rx::RegisterHostClass(#CLASS_NAME, PARENT::desc(), DXF_NAME, CONSTRUCTOR); \
    return descriptor;                                                                      \
  }                                                                                         \
  AcRxClass* CLASS_NAME::isA() const {                                                      \
    return CLASS_NAME::desc();                                                              \
  }

#define CAD_DEFINE_MEMBERS(CLASS_NAME, PARENT, DXF_NAME) \
  CAD_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT, DXF_NAME,  \
                          []() -> AcRxObject* { return new CLASS_NAME; })

#define CAD_DEFINE_ABSTRACT_MEMBERS(CLASS_NAME, PARENT) \
  CAD_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT, "", nullptr)

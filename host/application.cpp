#include "host/application.h"

#include "cad/arx.h"
#include "host/record_classes.h"

namespace area {

void InitApplication(void* appId) {
  acrxRegisterAppMDIAware(appId);
  RegisterRecordClasses();
  acrxBuildClassHierarchy();
}

void UnloadApplication() {
  DeleteRecordClasses();
}

}  // namespace area

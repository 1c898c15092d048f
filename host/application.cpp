#include "host/application.h"

#include "cad/arx.h"
#include "host/record_classes.h"
#include "linkage/area_react.h"
#include "records/record_index.h"

namespace area {

void InitApplication(void* appId) {
  acrxRegisterAppMDIAware(appId);
  CreateAreaReactorManager();
  RegisterRecordClasses();
  acrxBuildClassHierarchy();
}

void UnloadApplication() {
  DestroyAreaReactorManager();
  DropRecordIndexes();
  DeleteRecordClasses();
}

}  // namespace area

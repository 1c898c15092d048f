#include "host/application.h"

#include "cad/arx.h"
#include "host/record_classes.h"
#include "linkage/area_react.h"
#include "maintenance/drawing_audit.h"
#include "maintenance/figure_export.h"
#include "records/record_index.h"

namespace area {

void InitApplication(void* appId) {
  acrxRegisterAppMDIAware(appId);
  CreateAreaReactorManager();
  RegisterRecordClasses();
  acrxBuildClassHierarchy();
  // The hosting program finds the figure export and the drawing audit in the host's registry
  // while the application is loaded.
  RegisterFigureExportService();
  RegisterDrawingAuditService();
}

void UnloadApplication() {
  RemoveDrawingAuditService();
  RemoveFigureExportService();
  DestroyAreaReactorManager();
  DropRecordIndexes();
  DeleteRecordClasses();
}

}  // namespace area

// Making, opening, saving and closing drawings.
#include "platform/documents.h"

#include "db/database_impl.h"
#include "db/live_databases.h"
#include "platform/applications.h"
#include "platform/drawing_files.h"

namespace tessera {

namespace {

AcApDocument* Adopt(AcDbDatabase* database, const std::string& fileName) {
  db::Impl(database)->undo().clear();
  AcApDocument* document = acDocManagerPtr()->addDocument(database, fileName);
  NotifyApplicationsDrawingLoaded(document);
  return document;
}

}  // namespace

AcApDocument* NewDrawing(std::string& error) {
  error.clear();
  auto* database = new AcDbDatabase(true);
  FillTemplate(database);
  return Adopt(database, "");
}

AcApDocument* OpenDrawing(const std::string& path, std::string& error) {
  std::unique_ptr<AcDbDatabase> database = ReadDrawingFile(path, error);
  if (!database) return nullptr;
  database->setFilename(path);
  return Adopt(database.release(), path);
}

bool SaveDrawing(AcDbDatabase* database, const std::string& path, std::string& error) {
  if (database == nullptr) {
    error = path + ": no drawing to save";
    return false;
  }
  return WriteDrawingFile(database, path, error);
}

void CloseDrawing(AcApDocument* document) {
  if (document == nullptr) return;
  NotifyApplicationsDrawingUnloading(document);
  acDocManagerPtr()->destroyDocument(document);
}

void CloseAllDrawings() {
  while (acDocManagerPtr()->documentCount() > 0)
    CloseDrawing(acDocManagerPtr()->documents().back());
}

void CloseAllDrawingsAtExit() {
  db::LeaveClosedDrawingsToProcessEnd(true);
  CloseAllDrawings();
  db::LeaveClosedDrawingsToProcessEnd(false);
}

}  // namespace tessera

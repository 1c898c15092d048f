// Large drawings: a drawing of a million entities must load, save and take edits with the cost of
// one edit independent of the drawing's size. The drawings are generated here, a mix of what land
// drawings hold: lines, closed polylines, circles and texts. Edits run as the plug-in's linkage
// sees them: a database reactor hears every change, and some entities (as marks do) carry an
// object reactor of their own. Compare the per-edit times at 10k, 100k and 1M entities: they must
// stay flat. The whole default run takes about two minutes on a small machine.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cad/db_database.h"
#include "db/database_impl.h"
#include "platform/drawing_files.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTenThousand = 10'000;
constexpr int kHundredThousand = 100'000;
constexpr int kMillion = 1'000'000;
// Entities are laid out on a grid of cells this many drawing units apart.
constexpr double kCellSize = 1000.0;
constexpr int kCellsPerRow = 1000;
// Edits step through the drawing by a stride prime to its size, so successive edits touch
// entities far apart, as a user's edits across a big drawing would.
constexpr std::uint64_t kEditStride = 7919;
// The undo log keeps every edit; it is emptied this often so that memory stays flat.
constexpr std::int64_t kEditsPerUndoClear = 1 << 14;
// One entity in this many carries an object reactor, as the area marks of a drawing do.
constexpr int kEntitiesPerObjectReactor = 50;

// Hears every change, as the plug-in's database reactor does; counts them, so that a run shows
// the notifications really happened.
class CountingDatabaseReactor : public AcDbDatabaseReactor {
 public:
  void objectModified(const AcDbDatabase*, const AcDbObject*) override { ++modified; }
  std::int64_t modified = 0;
};

class CountingObjectReactor : public AcDbObjectReactor {
 public:
  void modified(const AcDbObject*) override { ++count; }
  std::int64_t count = 0;
};

// One generated entity of the mix, placed in cell `index`.
AcDbEntity* MakeEntity(int index) {
  const double x = (index % kCellsPerRow) * kCellSize;
  const double y = (index / kCellsPerRow) * kCellSize;
  switch (index % 4) {
    case 0:
      return new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 800, y + 300, 0));
    case 1: {
      auto* outline = new AcDbPolyline(4);
      outline->addVertexAt(0, AcGePoint2d(x, y));
      outline->addVertexAt(1, AcGePoint2d(x + 700, y));
      outline->addVertexAt(2, AcGePoint2d(x + 700, y + 500));
      outline->addVertexAt(3, AcGePoint2d(x, y + 500));
      outline->setClosed(true);
      return outline;
    }
    case 2:
      return new AcDbCircle(AcGePoint3d(x + 400, y + 400, 0), AcGeVector3d::kZAxis, 300);
    default:
      return new AcDbText(AcGePoint3d(x, y, 0), "12.34", AcDbObjectId::kNull, 250);
  }
}

// Appends `count` entities to model space; returns their ids.
std::vector<AcDbObjectId> AppendEntities(AcDbDatabase* database, int count) {
  std::vector<AcDbObjectId> ids;
  ids.reserve(static_cast<std::size_t>(count));
  AcDbBlockTable* table = nullptr;
  AcDbBlockTableRecord* modelSpace = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return ids;
  const Acad::ErrorStatus status = table->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite);
  table->close();
  if (status != Acad::eOk) return ids;
  for (int i = 0; i < count; ++i) {
    AcDbEntity* entity = MakeEntity(i);
    AcDbObjectId id;
    if (modelSpace->appendAcDbEntity(id, entity) != Acad::eOk) {
      delete entity;
      continue;
    }
    entity->close();
    ids.push_back(id);
  }
  modelSpace->close();
  return ids;
}

// A generated drawing, made once per size and kept for every benchmark that uses it.
struct Drawing {
  CountingObjectReactor objectReactor;  // first, so that it outlives the entities it watches
  std::unique_ptr<AcDbDatabase> database;
  std::vector<AcDbObjectId> ids;
  std::vector<AcDbHandle> handles;
};

void AttachObjectReactors(Drawing& drawing) {
  for (std::size_t i = 0; i < drawing.ids.size(); i += kEntitiesPerObjectReactor) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, drawing.ids[i], AcDb::kForRead) != Acad::eOk) continue;
    object->addReactor(&drawing.objectReactor);
    object->close();
  }
}

Drawing& DrawingOf(int count) {
  static std::map<int, std::unique_ptr<Drawing>> drawings;
  std::unique_ptr<Drawing>& drawing = drawings[count];
  if (!drawing) {
    drawing = std::make_unique<Drawing>();
    drawing->database = std::make_unique<AcDbDatabase>(true, true);
    // Generating is not what is measured; it leaves nothing to undo.
    tessera::db::Impl(drawing->database.get())->undo().setEnabled(false);
    drawing->ids = AppendEntities(drawing->database.get(), count);
    tessera::db::Impl(drawing->database.get())->undo().setEnabled(true);
    for (AcDbObjectId id : drawing->ids) drawing->handles.push_back(id.handle());
    AttachObjectReactors(*drawing);
  }
  return *drawing;
}

std::string TemporaryFile(const std::string& name) {
  return (fs::temp_directory_path() / ("tessera_bench_" + name)).string();
}

void BM_AppendEntities(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto database = std::make_unique<AcDbDatabase>(true, true);
    state.ResumeTiming();
    benchmark::DoNotOptimize(AppendEntities(database.get(), count));
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AppendEntities)
    ->Arg(kTenThousand)
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Unit(benchmark::kMillisecond);

// Opens the entity under a handle for write, moves it and closes it.
void MoveByHandle(AcDbDatabase* database, const AcDbHandle& handle, const AcGeVector3d& nudge) {
  AcDbObjectId id;
  if (database->getAcDbObjectId(id, false, handle) != Acad::eOk) return;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) return;
  entity->moveBy(nudge);
  entity->close();
}

// One edit as the linkage makes it: the handle a record keeps to an id, open for write, move,
// close, with its undo record and its notifications to the reactors. The time per edit must not
// grow with the drawing.
void BM_EditOneEntity(benchmark::State& state) {
  Drawing& drawing = DrawingOf(static_cast<int>(state.range(0)));
  tessera::db::UndoLog& undo = tessera::db::Impl(drawing.database.get())->undo();
  CountingDatabaseReactor databaseReactor;
  drawing.database->addReactor(&databaseReactor);
  drawing.objectReactor.count = 0;
  const std::uint64_t size = drawing.ids.size();
  std::uint64_t next = 0;
  const AcGeVector3d nudge(1, 0, 0);
  for (auto _ : state) {
    MoveByHandle(drawing.database.get(), drawing.handles[next], nudge);
    next = (next + kEditStride) % size;
    if (state.iterations() % kEditsPerUndoClear == 0) {
      state.PauseTiming();
      undo.closeStep();
      undo.clear();
      state.ResumeTiming();
    }
  }
  undo.closeStep();
  undo.clear();
  drawing.database->removeReactor(&databaseReactor);
  state.SetItemsProcessed(state.iterations());
  state.counters["notified"] = static_cast<double>(databaseReactor.modified);
  state.counters["objectReactors"] = static_cast<double>(drawing.objectReactor.count);
}
BENCHMARK(BM_EditOneEntity)->Arg(kTenThousand)->Arg(kHundredThousand)->Arg(kMillion);

// Handle to object id, as every linkage step does for the handles its records keep.
void BM_HandleLookup(benchmark::State& state) {
  Drawing& drawing = DrawingOf(static_cast<int>(state.range(0)));
  const std::uint64_t size = drawing.handles.size();
  std::uint64_t next = 0;
  for (auto _ : state) {
    AcDbObjectId id;
    drawing.database->getAcDbObjectId(id, false, drawing.handles[next]);
    benchmark::DoNotOptimize(id);
    next = (next + kEditStride) % size;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HandleLookup)->Arg(kTenThousand)->Arg(kHundredThousand)->Arg(kMillion);

void SaveDrawing(benchmark::State& state, const std::string& extension) {
  Drawing& drawing = DrawingOf(static_cast<int>(state.range(0)));
  const std::string path = TemporaryFile("save" + extension);
  std::string error;
  for (auto _ : state) {
    if (!tessera::WriteDrawingFile(drawing.database.get(), path, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  std::error_code code;
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(fs::file_size(path, code)));
  fs::remove(path, code);
}

void LoadDrawing(benchmark::State& state, const std::string& extension) {
  Drawing& drawing = DrawingOf(static_cast<int>(state.range(0)));
  const std::string path = TemporaryFile("load" + extension);
  std::string error;
  if (!tessera::WriteDrawingFile(drawing.database.get(), path, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    std::unique_ptr<AcDbDatabase> loaded = tessera::ReadDrawingFile(path, error);
    if (!loaded) {
      state.SkipWithError(error.c_str());
      break;
    }
    state.PauseTiming();
    loaded.reset();
    state.ResumeTiming();
  }
  std::error_code code;
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(fs::file_size(path, code)));
  fs::remove(path, code);
}

void BM_SaveDxf(benchmark::State& state) {
  SaveDrawing(state, ".dxf");
}
void BM_LoadDxf(benchmark::State& state) {
  LoadDrawing(state, ".dxf");
}
void BM_SaveTdb(benchmark::State& state) {
  SaveDrawing(state, ".tdb");
}
void BM_LoadTdb(benchmark::State& state) {
  LoadDrawing(state, ".tdb");
}
// A million entities take seconds to save or load: one run of each is measured, so that the
// whole suite stays within a couple of minutes.
BENCHMARK(BM_SaveDxf)->Arg(kHundredThousand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDxf)->Arg(kMillion)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDxf)->Arg(kHundredThousand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDxf)->Arg(kMillion)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTdb)->Arg(kHundredThousand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTdb)->Arg(kMillion)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTdb)->Arg(kHundredThousand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTdb)->Arg(kMillion)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

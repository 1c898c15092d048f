#include "editor/spatial_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "cad/arx.h"

namespace tessera::editor {

namespace {

// Cells are 2^level drawing units wide; extents smaller than the finest cell go into it, and
// extents wider than the coarsest are met by every window.
constexpr int kFinestLevel = -20;
constexpr int kCoarsestLevel = 60;
// Cell numbers stay well inside what a double holds exactly.
constexpr double kLargestCellNumber = 4.5e15;
// Owners above a changed object that are looked through for its model-space entity (vertex,
// polyline; attribute, block reference); a broken drawing's owner cycle ends here.
constexpr int kMaxOwnerDepth = 8;

int LevelOf(const Window& extents) {
  double width = std::max(extents.high.x - extents.low.x, extents.high.y - extents.low.y);
  if (!(width > 0.0)) return kFinestLevel;
  return std::max(kFinestLevel, static_cast<int>(std::ceil(std::log2(width))));
}

std::optional<std::int64_t> CellNumber(double coordinate, int level) {
  double number = std::floor(std::ldexp(coordinate, -level));
  if (!(std::fabs(number) < kLargestCellNumber)) return std::nullopt;
  return static_cast<std::int64_t>(number);
}

bool Meets(const Window& a, const Window& b) {
  return a.low.x <= b.high.x && b.low.x <= a.high.x && a.low.y <= b.high.y && b.low.y <= a.high.y;
}

AcDbObjectId ModelSpaceOf(AcDbDatabase* database) {
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  table->getAt(ACDB_MODEL_SPACE, id);
  table->close();
  return id;
}

const std::vector<AcDbObjectId>* EntitiesOf(AcDbObjectId space) {
  if (space.stub() == nullptr) return nullptr;
  auto* record = AcDbBlockTableRecord::cast(space.stub()->object);
  return record ? &record->entityIds() : nullptr;
}

}  // namespace

bool SpatialIndex::Cell::operator<(const Cell& other) const {
  return std::tie(level, x, y) < std::tie(other.level, other.x, other.y);
}

SpatialIndex& SpatialIndex::Of(AcDbDatabase* database) {
  db::DatabaseImpl* impl = db::Impl(database);
  if (!impl->changeObserver) impl->changeObserver = std::make_unique<SpatialIndex>(database);
  return static_cast<SpatialIndex&>(*impl->changeObserver);
}

void SpatialIndex::rebuild() {
  m_stale = false;
  m_changed.clear();
  m_placements.clear();
  m_cells.clear();
  m_levelSizes.clear();
  m_unbounded.clear();
  m_blockUsers.clear();
  m_known = 0;
  m_lastKnown = nullptr;
}

// New entities at the end of model space; a list changed otherwise is measured afresh.
void SpatialIndex::addTail() {
  const std::vector<AcDbObjectId>* ids = EntitiesOf(ModelSpaceOf(m_database));
  if (ids == nullptr) return rebuild();
  if (ids->size() < m_known || (m_known > 0 && (*ids)[m_known - 1].stub() != m_lastKnown)) {
    rebuild();
    return addTail();
  }
  for (; m_known < ids->size(); ++m_known) {
    AcDbStub* stub = (*ids)[m_known].stub();
    if (stub == nullptr || m_placements.count(stub) > 0) continue;
    m_placements[stub].position = m_known;
    m_changed.erase(stub);
    remeasure(stub);
  }
  if (m_known > 0) m_lastKnown = (*ids)[m_known - 1].stub();
}

void SpatialIndex::refresh() {
  if (m_stale) rebuild();
  addTail();
  std::unordered_set<AcDbStub*> changed;
  changed.swap(m_changed);
  for (AcDbStub* stub : changed) this->changed(stub);
}

// A changed object moves the model-space entity it belongs to, or every user of its block.
void SpatialIndex::changed(AcDbStub* stub) {
  for (int depth = 0; depth < kMaxOwnerDepth && stub != nullptr && stub->object != nullptr;
       ++depth) {
    if (m_placements.count(stub) > 0) return remeasure(stub);
    if (AcDbBlockTableRecord::cast(stub->object) != nullptr) return blockChanged(stub);
    if (AcDbEntity::cast(stub->object) == nullptr) return;
    stub = stub->object->ownerId().stub();
  }
}

void SpatialIndex::blockChanged(AcDbStub* block) {
  auto users = m_blockUsers.find(block);
  if (users == m_blockUsers.end()) return;
  std::vector<AcDbStub*> entities = users->second;
  for (AcDbStub* entity : entities) remeasure(entity);
}

void SpatialIndex::remeasure(AcDbStub* stub) {
  Placement& placement = m_placements[stub];
  unplace(stub, placement);
  AcDbEntity* entity = nullptr;
  Acad::ErrorStatus status = acdbOpenAcDbEntity(entity, AcDbObjectId(stub), AcDb::kForRead, true);
  if (status != Acad::eOk) {
    // Open for write: measured at the next question; picks pass it by meanwhile, as they did.
    if (status == Acad::eWasOpenForWrite) m_changed.insert(stub);
    return;
  }
  std::vector<AcDbObjectId> blocks;
  placement.extents = ExtentsOf(WorldShapeOf(entity, &blocks));
  entity->close();
  for (const AcDbObjectId& block : blocks) placement.blocks.push_back(block.stub());
  place(stub, placement);
}

void SpatialIndex::place(AcDbStub* stub, Placement& placement) {
  for (AcDbStub* block : placement.blocks) m_blockUsers[block].push_back(stub);
  if (!placement.extents) return;
  const Window& extents = *placement.extents;
  int level = LevelOf(extents);
  auto x = CellNumber(extents.low.x, level);
  auto y = CellNumber(extents.low.y, level);
  placement.unbounded = level > kCoarsestLevel || !x || !y;
  if (placement.unbounded) {
    m_unbounded.push_back(stub);
    return;
  }
  placement.cell = {level, *x, *y};
  m_cells[placement.cell].push_back(stub);
  ++m_levelSizes[level];
}

void SpatialIndex::unplace(AcDbStub* stub, Placement& placement) {
  auto removeFrom = [stub](std::vector<AcDbStub*>& list) {
    auto found = std::find(list.begin(), list.end(), stub);
    if (found == list.end()) return;
    *found = list.back();
    list.pop_back();
  };
  for (AcDbStub* block : placement.blocks) removeFrom(m_blockUsers[block]);
  placement.blocks.clear();
  if (placement.unbounded) {
    removeFrom(m_unbounded);
  } else if (placement.extents) {
    auto cell = m_cells.find(placement.cell);
    if (cell != m_cells.end()) {
      removeFrom(cell->second);
      if (cell->second.empty()) m_cells.erase(cell);
    }
    --m_levelSizes[placement.cell.level];
  }
  placement.extents.reset();
  placement.unbounded = false;
}

// The cells of each level that the window or an entity reaching into it from the next cell
// down or left could lie in; a level with fewer entities than such cells is read whole.
void SpatialIndex::collect(const Window& world, std::vector<AcDbStub*>& found) const {
  for (const auto& [level, size] : m_levelSizes) {
    if (size == 0) continue;
    auto x0 = CellNumber(world.low.x, level), x1 = CellNumber(world.high.x, level);
    auto y0 = CellNumber(world.low.y, level), y1 = CellNumber(world.high.y, level);
    bool whole = !x0 || !x1 || !y0 || !y1 ||
                 static_cast<double>(*x1 - *x0 + 2) * static_cast<double>(*y1 - *y0 + 2) >
                     static_cast<double>(size);
    if (whole) {
      auto end = m_cells.lower_bound({level + 1, std::numeric_limits<std::int64_t>::min(), 0});
      auto cell = m_cells.lower_bound({level, std::numeric_limits<std::int64_t>::min(), 0});
      for (; cell != end; ++cell)
        found.insert(found.end(), cell->second.begin(), cell->second.end());
      continue;
    }
    for (std::int64_t x = *x0 - 1; x <= *x1; ++x) {
      auto cell = m_cells.lower_bound({level, x, *y0 - 1});
      for (; cell != m_cells.end() && cell->first.level == level && cell->first.x == x &&
             cell->first.y <= *y1;
           ++cell)
        found.insert(found.end(), cell->second.begin(), cell->second.end());
    }
  }
  found.insert(found.end(), m_unbounded.begin(), m_unbounded.end());
}

std::vector<AcDbObjectId> SpatialIndex::entitiesMeeting(const Window& world) {
  refresh();
  std::vector<AcDbStub*> found;
  collect(world, found);
  std::vector<std::pair<std::size_t, AcDbStub*>> ordered;
  for (AcDbStub* stub : found) {
    const Placement& placement = m_placements.at(stub);
    if (stub->erased || !(placement.unbounded || Meets(*placement.extents, world))) continue;
    ordered.emplace_back(placement.position, stub);
  }
  std::sort(ordered.begin(), ordered.end());
  std::vector<AcDbObjectId> ids;
  ids.reserve(ordered.size());
  for (const auto& [position, stub] : ordered) ids.emplace_back(stub);
  return ids;
}

std::optional<std::size_t> SpatialIndex::positionOf(AcDbObjectId id) {
  refresh();
  auto found = m_placements.find(id.stub());
  if (found == m_placements.end()) return std::nullopt;
  return found->second.position;
}

}  // namespace tessera::editor

// The model-space entities of a drawing by where they lie, kept with the drawing: a pick or a
// window looks only at the entities near it, and entnext finds an entity's place in drawing
// order without walking model space. Kept up to date lazily: the drawing tells it which objects
// changed (undo included), and the next question re-measures just those.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "db/database_impl.h"
#include "editor/pick_geometry.h"

namespace tessera::editor {

class SpatialIndex : public db::ObjectChangeObserver {
 public:
  explicit SpatialIndex(AcDbDatabase* database) : m_database(database) {}
  // The index of the drawing, made on first use.
  static SpatialIndex& Of(AcDbDatabase* database);

  // Model-space entities not erased whose world-XY extents meet the window, in drawing order.
  std::vector<AcDbObjectId> entitiesMeeting(const Window& world);
  // The entity's index in model space's entity list, or none when it is not in it.
  std::optional<std::size_t> positionOf(AcDbObjectId id);

  void objectChanged(AcDbStub* stub) override { m_changed.insert(stub); }
  void everythingChanged() override { m_stale = true; }

 private:
  struct Cell {
    int level;
    std::int64_t x, y;
    bool operator<(const Cell& other) const;
  };
  struct Placement {
    std::size_t position = 0;
    std::optional<Window> extents;  // none: draws nothing, never met
    bool unbounded = false;         // too far out for a cell: met by every window
    Cell cell{};
    std::vector<AcDbStub*> blocks;  // block definitions its shape looks into
  };

  void refresh();
  void rebuild();
  void addTail();
  void remeasure(AcDbStub* stub);
  void changed(AcDbStub* stub);
  void blockChanged(AcDbStub* block);
  void place(AcDbStub* stub, Placement& placement);
  void unplace(AcDbStub* stub, Placement& placement);
  void collect(const Window& world, std::vector<AcDbStub*>& found) const;

  AcDbDatabase* m_database;
  bool m_stale = true;
  std::unordered_set<AcDbStub*> m_changed;
  std::unordered_map<AcDbStub*, Placement> m_placements;
  // The model-space entities measured so far: a list only grows at its end.
  std::size_t m_known = 0;
  AcDbStub* m_lastKnown = nullptr;
  // Entities by their extents' lower-left cell, on the level whose cells are at least as wide as
  // the extents: an entity reaches at most into the next cell up and to the right.
  std::map<Cell, std::vector<AcDbStub*>> m_cells;
  std::map<int, std::size_t> m_levelSizes;
  std::vector<AcDbStub*> m_unbounded;
  std::unordered_map<AcDbStub*, std::vector<AcDbStub*>> m_blockUsers;
};

}  // namespace tessera::editor

// Repairs a freshly read drawing needs whatever format it came from: references to objects the
// file did not have are dropped or cleared, objects whose owner is missing are re-owned, and
// groups follow their members again.
#pragma once

#include <string>
#include <vector>

#include "cad/db_database.h"
#include "db/per_class.h"

namespace tessera::files {

// With `repairs`, one line is added for each reference that had to be mended.
void RepairReferences(AcDbDatabase* database, std::vector<std::string>* repairs = nullptr);

// The objects a repair looks at even when every id of the drawing names one of its objects:
// groups (their members must be entities that they follow) and objects kept as read (the
// references in their tags). A reader offers it each object it makes.
class RepairCandidates {
 public:
  void offer(AcDbObject* object);

 private:
  friend void RepairReferences(AcDbDatabase* database, const RepairCandidates& candidates,
                               std::vector<std::string>* repairs);
  db::PerClass<bool> m_lookedAt;
  std::vector<AcDbObjectId> m_ids;
  std::size_t m_offered = 0;
};

// RepairReferences for a drawing whose every object was offered to `candidates`: when every id
// names an object, nothing can dangle and only the candidates are looked at; otherwise the
// whole drawing is.
void RepairReferences(AcDbDatabase* database, const RepairCandidates& candidates,
                      std::vector<std::string>* repairs = nullptr);

// Blocks that insert themselves, directly or through other blocks, cannot be drawn: a message
// naming the blocks of the first such cycle, or empty when there is none.
std::string BlockCycle(AcDbDatabase* database);

}  // namespace tessera::files

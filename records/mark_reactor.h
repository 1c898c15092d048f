// The mark reactor: every linked figure's mark carries one ZebAreaObjNewReact, which records
// each copy of the mark in the application-wide copy pair list (for the copy completion) and
// detaches itself when the mark is erased. It is transient: never filed with the drawing, and
// re-attached whenever a figure record is read.
#pragma once

#include "cad/arx.h"

namespace area {

class ZebAreaObjNewReact : public AcDbObjectReactor {
 public:
  void copied(const AcDbObject* object, const AcDbObject* newObject) override;
  void erased(const AcDbObject* object, bool erasing = true) override;

 private:
  friend class MarkReactorRegistry;
  ZebAreaObjNewReact() = default;
};

// Gives an open mark (resident in a drawing) its reactor unless it already has one, so that a
// mark never records a copy twice. True when the mark has its reactor afterwards.
bool AttachMarkReactor(const AcDbObject* mark);
// Whether the open mark has its reactor.
bool HasMarkReactor(const AcDbObject* mark);
// Takes every mark reactor off its mark and frees it; for application unload, before the
// application's code leaves (it also happens when the application's static data goes).
void DetachMarkReactors();

// The copy pair list, oldest first.
// The source of the first pair whose copy is `copyId`, taking that pair out of the list; the
// null id when there is none.
AcDbObjectId TakeCopyPair(AcDbObjectId copyId);
bool HasCopyPairs();
int CopyPairCount();
void ClearCopyPairs();

}  // namespace area

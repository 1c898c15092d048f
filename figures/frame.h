// The figure command frame: what the seven figure functions do alike. It reads the settings,
// prepares the drawing aids and the undo group, and then makes one linked figure per pass (pick,
// check, draw, label, mark, tag, group, store, report) until the user presses RETURN at the first
// prompt. Each shape supplies its own steps through a FigureShape.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "common/geometry.h"
#include "common/settings.h"
#include "common/value_list.h"
#include "records/figure_kinds.h"
#include "records/figure_records.h"

namespace area {

// OSMODE while a figure's points are picked: the intersection (32) and nearest (512) snaps, so
// that corners of the lot and points on its boundary are caught.
inline constexpr int kPickingOsMode = 544;

// The first prompt of every figure's points; RETURN there ends the command.
inline constexpr const char* kFirstPointPrompt = "\np1を指示 (RETURN=終了) : ";

// A figure kind as the figure commands use it: its entry in the table of kinds, and whether a
// refused record is reported (the rectangle and sector commands print the dictionary's status).
struct FigureKind {
  const FigureKindInfo& info;
  bool reportsStoreError;
};

// What a shape's drawing step gives back: the value texts in value-list order without the area,
// the area text (unless the shape computes it from its texts), and the mark point (world).
struct DrawnFigure {
  std::vector<std::string> valueTexts;
  std::string areaText;
  AcGePoint3d markPoint;
};

// A shape's own steps, called by the frame in this order.
struct FigureShape {
  FigureKind kind;
  // Picks the points (current UCS), restoring ORTHOMODE to the saved value; true when complete.
  bool (*inputPoints)(AcGePoint3dArray& points, int savedOrthoMode);
  // Checks run before and after BLIPMODE is switched off; each shows its own message box.
  bool (*checkBeforeBlip)(const AcGePoint3dArray& points);
  bool (*checkAfterBlip)(const AcGePoint3dArray& points);
  FigureRecord* (*newRecord)();
  // Creates the entities (outline first), appends and tags them, fills the record; false when
  // the host refused an entity or the points have no figure.
  bool (*draw)(const FigureSettings& settings, AcGePoint3dArray& points, AcDbObjectIdArray& ids,
               FigureRecord& record, DrawnFigure& drawn);
  // The area text made from the value texts, for shapes whose area is computed that way.
  std::string (*areaFromTexts)(const FigureSettings& settings, const DrawnFigure& drawn);
  // Sector and lune redraw before the label prompt so that their arcs show.
  bool redrawBeforeLabel;
};

// Runs one figure function: its LISP argument is the figure settings string. RTNORM when the user
// ended it (RETURN, a cancel), RTERROR on a failure.
int RunFigureCommand(const FigureShape& shape);

// The last steps of every figure: inserts the mark at markPoint with the label and value list,
// records, layers, appends and tags it, groups the entities, gives the mark its reactor and
// stores the record under the outline's handle text. On failure the entities are erased and the
// record deleted; false.
bool FinishFigure(const FigureKind& kind, const FigureSettings& settings, const std::string& label,
                  const std::string& valueList, const AcGePoint3d& markPoint,
                  AcDbObjectIdArray& ids, std::unique_ptr<FigureRecord>& record);

// Appends an entity made by a drawing step and tags it; false for the null id the host gives
// when it refuses an entity.
bool AddFigureEntity(AcDbObjectId id, const FigureKind& kind, const char* role,
                     AcDbObjectIdArray& ids);

// Copies the figure's unit, digits and rounding into the record.
void StoreValueRules(const FigureSettings& settings, FigureRecord& record);

// A value text as the figure commands make them: centred on its bottom, height 0, null style, on
// the value layer, at the placement.
AcDbObjectId MakeValueText(const FigureSettings& settings, const std::string& text,
                           const TextPlacement& placement);

}  // namespace area

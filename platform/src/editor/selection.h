// Selection: numbered selection sets, filter lists, picks and windows on the working drawing,
// and the "Select objects:" dialog that host commands and acedSSGet share.
#pragma once

#include <string>
#include <vector>

#include "cad/ads.h"
#include "cad/db_database.h"
#include "editor/conversation.h"
#include "editor/task.h"

namespace tessera::editor {

using IdList = std::vector<AcDbObjectId>;

// Selection sets by name, as acedSSGet gives them out and acedSSFree releases them.
void NewSelectionSet(const IdList& members, ads_name name);
const IdList* SelectionSetMembers(const ads_name name);
bool FreeSelectionSet(const ads_name name);

// A filter list of group codes: 0 entity type, 2 block name, 8 layer, 1 text (with the host's
// wildcards "*", "?", "#", "@", "." and "," alternatives, "~" negation, without regard to
// case), 62 colour number, and -3 (entities with extended data of the named applications).
// Items of other codes are ignored.
class SelectionFilter {
 public:
  SelectionFilter() = default;
  explicit SelectionFilter(const resbuf* list);
  bool accepts(AcDbObjectId id) const;

 private:
  struct Condition {
    int code;
    std::string pattern;
    int number = 0;
  };
  std::vector<Condition> m_conditions;
};

// Whether text matches a wildcard pattern of the host (see SelectionFilter).
bool MatchesWildcard(const std::string& text, const std::string& pattern);

// Picks and windows, with points in the current UCS. A pick finds the entity whose pieces pass
// within PICKBOX drawing units of the point; of several, the one drawn last.
AcDbObjectId PickAt(AcDbDatabase* database, const AcGePoint3d& point);
IdList SelectByWindow(AcDbDatabase* database, const AcGePoint3d& corner1,
                      const AcGePoint3d& corner2, bool crossing);
// Every entity of model space that is not erased.
IdList SelectAll(AcDbDatabase* database);
IdList Filtered(const IdList& ids, const SelectionFilter* filter);
// The set the last "Select objects:" dialog made ("P").
IdList& PreviousSelection();

// A window given at "Select objects:", corners in the current UCS.
struct SelectionWindow {
  AcGePoint3d corner1;
  AcGePoint3d corner2;
  bool crossing = false;
};

// The "Select objects:" dialog: takes picks, W and C windows, L, ALL, P, entity names and
// selection sets until RETURN; yields what was selected, in the order selected. The windows
// given are added to `windows` when asked for (STRETCH moves what lies inside them).
Task<IdList> SelectObjects(Conversation& conversation, SelectionFilter filter = {},
                           std::vector<SelectionWindow>* windows = nullptr);

}  // namespace tessera::editor

// The built-in template's blocks: the area mark and the area schedule's header. The same entities
// make the blocks of a new drawing and the block files shipped under examples/.
#pragma once

#include <string>
#include <vector>

#include "cad/db_database.h"

namespace tessera {

inline constexpr const char* kMarkBlockName = "AREA1";
inline constexpr const char* kTableHeaderBlockName = "AREA_TABLE";

// The names of the template's blocks, in the order the template defines them.
std::vector<std::string> TemplateBlockNames();

// Appends the entities of the named template block to a block definition (or to model space, for
// a block file). The block must be open for write. False for a name that is no template block.
bool AppendTemplateBlockEntities(AcDbBlockTableRecord* block, const std::string& name);

// Writes a block file: a drawing whose model space holds the named block's entities. The file's
// format follows its extension, as every drawing file's does.
bool WriteTemplateBlockFile(const std::string& name, const std::string& path, std::string& error);

}  // namespace tessera

// Pictures of drawings: model space drawn as SVG.
#pragma once

#include <string>

#include "cad/db_database.h"

namespace tessera {

bool RenderSvg(AcDbDatabase* database, const std::string& path, std::string& error);
std::string RenderSvgText(AcDbDatabase* database);

}  // namespace tessera

// The configured layers of a call: checked once against the drawing, replaced by the current
// layer when missing; and moving an entity to a layer.
#pragma once

#include <string>

#include "cad/arx.h"
#include "common/settings.h"

namespace area {

// Layer names are kept to this many UTF-16 code units, the host's name buffer.
inline constexpr std::size_t kLayerNameLimit = 255;

// Reports each of the line, mark and value layers that the drawing does not have and puts the
// current layer's name in its place.
void CheckFigureLayers(FigureSettings& settings);

// The same for the table's line and text layers.
void CheckTableLayers(TableSettings& settings);

// Moves the entity to the named layer (erased layers included); false when the entity does not
// open or the layer is not found.
bool SetEntityLayer(AcDbObjectId entityId, const std::string& layerName);

// The name of the current layer ("CLAYER"), or "0" when the host does not give it.
std::string CurrentLayerName();

}  // namespace area

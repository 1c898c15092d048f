// Open drawings. Each is a document of the document manager with its own database; making,
// opening and closing one sends the document reactors' notifications and the applications'
// drawing messages.
#pragma once

#include <string>

#include "cad/editor.h"

namespace tessera {

// A new drawing from the built-in template; it becomes the current document.
AcApDocument* NewDrawing(std::string& error);
// Opens a DXF or .tdb drawing as a new current document; null with a message on failure.
AcApDocument* OpenDrawing(const std::string& path, std::string& error);
// Saves a drawing; the format follows the extension. The old file is replaced only when the
// new one is complete.
bool SaveDrawing(AcDbDatabase* database, const std::string& path, std::string& error);
// Closes a document; the previous one becomes current.
void CloseDrawing(AcApDocument* document);
void CloseAllDrawings();
// Closes every drawing as CloseAllDrawings does, with every notification, for a program that
// ends right after: the drawings' objects are not freed one by one, the process's end takes
// their memory back at once.
void CloseAllDrawingsAtExit();

// The built-in template's contents, added to an empty drawing: layers, TEXTSIZE, and the blocks
// "AREA1" and "AREA_TABLE".
void FillTemplate(AcDbDatabase* database);

}  // namespace tessera

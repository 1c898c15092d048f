// Sending notifications to database reactors and object reactors. Each walk takes a snapshot
// of the reactors and skips those removed meanwhile, so a reactor may add or remove reactors,
// itself included, while it is being notified.
#pragma once

#include "cad/db_database.h"

namespace tessera::db {

void NotifyAppended(const AcDbObject* object);
void NotifyOpenedForModify(const AcDbObject* object);
void NotifyModified(const AcDbObject* object);
void NotifyErased(const AcDbObject* object, bool erasing);
// Sent by the commands that copy: to the source's object reactors.
void NotifyCopied(const AcDbObject* source, const AcDbObject* copy);

}  // namespace tessera::db

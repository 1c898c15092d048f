// The application's custom record classes, registered with the host at load and deleted at
// unload, always in the same order.
#pragma once

namespace area {

void RegisterRecordClasses();
void DeleteRecordClasses();

}  // namespace area

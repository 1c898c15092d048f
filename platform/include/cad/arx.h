// Everything an application sees of the host.
#pragma once

#include "cad/acad_types.h"
#include "cad/ads.h"
#include "cad/db_database.h"
#include "cad/db_entities.h"
#include "cad/db_object.h"
#include "cad/db_tables.h"
#include "cad/editor.h"
#include "cad/ge.h"
#include "cad/rx.h"

// An application's entry points, called by the host with its life-cycle messages.
extern "C" {
AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet);
int acrxGetApiVersion();
}

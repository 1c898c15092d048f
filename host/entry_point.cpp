// The application's entry point: the host's life-cycle messages.
#include "cad/arx.h"
#include "host/application.h"
#include "host/function_table.h"

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(
    AcRx::AppMsgCode message, void* packet) {
  switch (message) {
    case AcRx::kInitAppMsg:
      area::InitApplication(packet);
      break;
    case AcRx::kUnloadAppMsg:
      area::UnloadApplication();
      break;
    case AcRx::kLoadDwgMsg:
      area::RegisterLispFunctions();
      break;
    case AcRx::kUnloadDwgMsg:
      area::UnregisterLispFunctions();
      break;
    case AcRx::kInvkSubrMsg:
      return static_cast<AcRx::AppRetCode>(area::DispatchLispCall());
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() {
  return kTesseraApiVersion;
}

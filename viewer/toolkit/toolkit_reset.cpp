// Everything the toolkit keeps, back to the start-up state.
#include "viewer/toolkit/callbacks.h"
#include "viewer/toolkit/menu_model.h"

void KrResetToolkit() {
  KrResetCallbacks();
  KrClearKeys();
  KrResetMenuModel();
}

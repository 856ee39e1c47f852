#include "viewer/menu_table.h"

#include "graphics/window/keys.h"
#include "viewer/toolkit/toolkit.h"

namespace {

const char* const kPopups[] = {"File", "View", "Export", "Config", "Help", nullptr};

const ViewerMenuItem kItems[] = {
    {1, "Exit", 'X', kCmdExit},
    {1, "OpenFile", 'O', kCmdOpenFile},
    {1, "CloseFile", 'C', kCmdCloseFile},
    {1, "---------", 0, kCmdSeparator},
    {1, "About LUMAVIEW", 0, kCmdAbout},
    {2, "Examiner", 'X', kCmdExaminer},
    {2, "Camera", 'C', kCmdCamera},
    {2, "ResetCameraPosition", 0, kCmdResetCameraPosition},
    {2, "NextCamera\tN", 0, kCmdNextCamera},
    {2, "PreviousCamera\tP", 0, kCmdPreviousCamera},
    {2, "Zoom\tZ", 0, kCmdZoom},
    {2, "Mooz\tM", 0, kCmdMooz},
    {2, "---------", 0, kCmdSeparator},
    {2, "Forward\tF", 0, kCmdForward},
    {2, "Backward\tB", 0, kCmdBackward},
    {2, "Left\tLEFT", 0, kCmdLeft},
    {2, "Right\tRIGHT", 0, kCmdRight},
    {2, "Up\tUP", 0, kCmdUp},
    {2, "Down\tDOWN", 0, kCmdDown},
    {2, "---------", 0, kCmdSeparator},
    {2, "SetBackgroundColor", 0, kCmdSetBackgroundColor},
    {2, "UseVrmlBackground", 0, kCmdUseVrmlBackground},
    {3, "TIF", 0, kCmdExportTif},
    {3, "BMP", 0, kCmdExportBmp},
    {3, "PS", 0, kCmdExportPs},
    {3, "SRF", 0, kCmdExportSrf},
    {3, "WRL", 0, kCmdExportWrl},
    {4, "SetExtraDrawBufferSize", 0, kCmdSetExtraDrawBufferSize},
    {4, "SetQuality", 0, kCmdSetQuality},
    {5, "Help", 'H', kCmdHelp},
    {5, "About", 'A', kCmdAbout},
};

const ViewerKey kKeys[] = {
    {38, kCmdPreviousCamera}, {36, kCmdNextCamera},   {48, kCmdZoom},
    {35, kCmdMooz},           {28, kCmdForward},      {24, kCmdBackward},
    {kPwKeyRight, kCmdRight}, {kPwKeyLeft, kCmdLeft}, {kPwKeyUp, kCmdUp},
    {kPwKeyDown, kCmdDown},
};

}  // namespace

const char* const* ViewerPopupNames() { return kPopups; }

const ViewerMenuItem* ViewerMenuItems(int* count) {
  *count = static_cast<int>(sizeof kItems / sizeof kItems[0]);
  return kItems;
}

const ViewerKey* ViewerKeys(int* count) {
  *count = static_cast<int>(sizeof kKeys / sizeof kKeys[0]);
  return kKeys;
}

int ViewerCommandId(ViewerCommand command) {
  int count = 0;
  const ViewerMenuItem* items = ViewerMenuItems(&count);
  for (int i = 0; i < count; ++i) {
    if (items[i].command == command) return kKrFirstCommandId + i;
  }
  return -1;
}

// The viewer's menu bar and key bindings as data: pop-ups, items in the
// order they are added (so item i gets command id 16384 + i) and the ten
// keys, each naming the command it runs.
#pragma once

enum ViewerCommand {
  kCmdExit,
  kCmdOpenFile,
  kCmdCloseFile,
  kCmdSeparator,
  kCmdAbout,
  kCmdExaminer,
  kCmdCamera,
  kCmdResetCameraPosition,
  kCmdNextCamera,
  kCmdPreviousCamera,
  kCmdZoom,
  kCmdMooz,
  kCmdForward,
  kCmdBackward,
  kCmdLeft,
  kCmdRight,
  kCmdUp,
  kCmdDown,
  kCmdSetBackgroundColor,
  kCmdUseVrmlBackground,
  kCmdExportTif,
  kCmdExportBmp,
  kCmdExportPs,
  kCmdExportSrf,
  kCmdExportWrl,
  kCmdSetExtraDrawBufferSize,
  kCmdSetQuality,
  kCmdHelp,
  kCmdCount
};

struct ViewerMenuItem {
  int popup;  // 1 File .. 5 Help
  const char* text;
  int mnemonic;  // 0: none
  ViewerCommand command;
};

struct ViewerKey {
  int code;  // graphics-library key code
  ViewerCommand command;
};

// Null-terminated: "File", "View", "Export", "Config", "Help".
const char* const* ViewerPopupNames();
const ViewerMenuItem* ViewerMenuItems(int* count);
const ViewerKey* ViewerKeys(int* count);
// The command id of the first item running the command, -1 when none.
int ViewerCommandId(ViewerCommand command);

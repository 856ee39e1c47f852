// The functions behind the viewer's menu items and keys: files, cameras,
// background, exports and the two run-time settings.
#include <windows.h>

#include <cstdlib>

#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "viewer/failure_reports.h"
#include "viewer/header_check.h"
#include "viewer/viewer.h"
#include "viewer/viewer_app.h"
#include "viewer/viewer_settings.h"

namespace {

void ShowVerdict(const ViewerHeaderVerdict& verdict) {
  if (verdict.line_count == 1) {
    KrMessageBox(verdict.lines[0], nullptr);
  } else if (verdict.line_count == 3) {
    KrMessageBox3(verdict.lines[0], verdict.lines[1], verdict.lines[2], nullptr);
  }
}

// 1 with out holding a name that may be written; the remembered name
// changes only then.
int AskSaveFile(char out[kViewerPathSize], char remembered[kViewerPathSize], const char* pattern,
                const char* title) {
  char chosen[kKrPathSize] = {0};
  if (KrFileSave(chosen, title, remembered, pattern) != 1) return 0;
  char refusal[kViewerReportSize];
  if (ViewerExportTargetText(chosen, refusal) == 1) {
    KrErrorBox(refusal);
    return 0;
  }
  if (ViewerFileExists(chosen) && KrYesNo("File Exists. Overwrite?", "OK", "CANCEL") != 1) {
    return 0;
  }
  if (ViewerCopyName(out, chosen) != 1) return 0;
  ViewerCopyName(remembered, chosen);
  return 1;
}

// A size the export cannot write is refused as it is typed, with the range
// that works, and asked again.
int AskResolution(int kind, int* width, int* height, int default_width, int default_height) {
  int initial[2] = {default_width, default_height};
  int entered[2] = {0, 0};
  for (;;) {
    if (KrNumber2Int(entered, initial, "Resolution", "OK", "CANCEL") != 1) return 0;
    char refusal[kViewerReportSize];
    if (ViewerCheckExportSize(kind, entered[0], entered[1], refusal) == 1) break;
    KrErrorBox(refusal);
    initial[0] = entered[0];
    initial[1] = entered[1];
  }
  *width = entered[0];
  *height = entered[1];
  return 1;
}

void Export(int kind) {
  Viewer* viewer = ViewerApp();
  const ViewerExportChoice* choice = ViewerExportChoiceFor(kind);
  if (!viewer || !choice) return;
  ViewerSettings& s = ViewerGetSettings();
  char name[kViewerPathSize] = {0};
  if (AskSaveFile(name, s.export_name[kind], choice->pattern, choice->title) != 1) return;
  int width = 0, height = 0;
  if (choice->asks_resolution) {
    if (AskResolution(kind, &s.width[kind], &s.height[kind], s.width[kind], s.height[kind]) != 1) {
      return;
    }
    width = s.width[kind];
    height = s.height[kind];
  }
  viewer->SetPendingExport(kind, name, width, height);
  OnPaint();
}

// Runs a viewer operation when the viewer exists, then redraws.
template <void (Viewer::*Op)()>
void ViewAndPaint(int, int, int, int) {
  if (Viewer* viewer = ViewerApp()) (viewer->*Op)();
  OnPaint();
}

// The move commands: the next idle pass draws.
template <void (Viewer::*Op)()>
void ViewOnly(int, int, int, int) {
  if (Viewer* viewer = ViewerApp()) (viewer->*Op)();
}

void OnExit(int, int, int, int) { KrQuit(); }

void OnCloseFile(int, int, int, int) {
  if (Viewer* viewer = ViewerApp()) viewer->CloseFile();
  OnPaint();
}

void OnSeparator(int, int, int, int) {}

void OnAbout(int, int, int, int) { ViewerShowAbout(); }

void OnHelp(int, int, int, int) { ViewerShowHelp(); }

void OnSetBackgroundColor(int, int, int, int) {
  Viewer* viewer = ViewerApp();
  if (!viewer) return;
  PwColor initial = viewer->GetBackgroundColor();
  PwColor chosen = initial;
  if (KrChooseColor(&chosen, &initial, "BACKGROUND COLOR") != 1) return;
  viewer->SetBackgroundColor(chosen);
  OnPaint();
}

void OnExportTif(int, int, int, int) { Export(kViewerExportTif); }
void OnExportBmp(int, int, int, int) { Export(kViewerExportBmp); }
void OnExportPs(int, int, int, int) { Export(kViewerExportPs); }
void OnExportSrf(int, int, int, int) { Export(kViewerExportSrf); }
void OnExportWrl(int, int, int, int) { Export(kViewerExportWrl); }

void OnSetExtraDrawBufferSize(int, int, int, int) {
  ViewerSettings& s = ViewerGetSettings();
  int kilobytes = 0;
  if (KrNumberInt(&kilobytes, static_cast<int>(s.extra_size / 1024), "EXTRA BUFFER SIZE(KB)",
                  nullptr, nullptr) != 1) {
    return;
  }
  std::size_t bytes = 0;
  void* buffer = nullptr;
  if (ViewerExtraBufferBytes(kilobytes, &bytes) == 1) buffer = std::malloc(bytes ? bytes : 1);
  if (!buffer) {
    KrMessageBox("Couldn't allocate enough memory.", nullptr);
    return;
  }
  PwSetExtraDrawBuffer(buffer, bytes);
  std::free(s.extra_buffer);
  s.extra_buffer = buffer;
  s.extra_size = bytes;
}

void OnSetQuality(int, int, int, int) {
  int quality = 4;
  if (KrNumberInt(&quality, 4, "Quality(1-15)", nullptr, nullptr) != 1) return;
  KsSetTessellation(ViewerClampQuality(quality));
  OnPaint();
}

}  // namespace

void OnOpenFile(int, int, int, int) {
  ViewerSettings& s = ViewerGetSettings();
  char chosen[kKrPathSize] = {0};
  if (KrFileOpen(chosen, "Open File", s.last_open_path, "*.wrl") != 1) return;
  ViewerCopyName(s.last_open_path, chosen);
  ViewerHeaderVerdict verdict = ViewerCheckHeaderFile(chosen);
  Viewer* viewer = ViewerApp();
  int loaded = 0;
  const int opened = verdict.open_result == kKsFileOpened ? 1 : 0;
  if (opened == 1) ShowVerdict(verdict);
  // A file that cannot be opened: LoadFile finds the same and says why.
  if ((verdict.load == 1 || opened == 0) && viewer) {
    loaded = viewer->LoadFile(chosen);
    if (loaded != 1) ViewerTellLoadFailure(chosen);
  }
  OnPaint();
  if (loaded == 1) ViewerTellReadErrors(chosen);
}

KrCommandFunc ViewerCommandFunc(ViewerCommand command) {
  switch (command) {
    case kCmdExit: return OnExit;
    case kCmdOpenFile: return OnOpenFile;
    case kCmdCloseFile: return OnCloseFile;
    case kCmdSeparator: return OnSeparator;
    case kCmdAbout: return OnAbout;
    case kCmdExaminer: return ViewAndPaint<&Viewer::Examiner>;
    case kCmdCamera: return ViewAndPaint<&Viewer::Camera>;
    case kCmdResetCameraPosition: return ViewAndPaint<&Viewer::ResetCameraPosition>;
    case kCmdNextCamera: return ViewAndPaint<&Viewer::NextCamera>;
    case kCmdPreviousCamera: return ViewAndPaint<&Viewer::PreviousCamera>;
    case kCmdZoom: return ViewAndPaint<&Viewer::Zoom>;
    case kCmdMooz: return ViewAndPaint<&Viewer::Mooz>;
    case kCmdForward: return ViewOnly<&Viewer::Forward>;
    case kCmdBackward: return ViewOnly<&Viewer::Backward>;
    case kCmdLeft: return ViewOnly<&Viewer::Left>;
    case kCmdRight: return ViewOnly<&Viewer::Right>;
    case kCmdUp: return ViewOnly<&Viewer::Up>;
    case kCmdDown: return ViewOnly<&Viewer::Down>;
    case kCmdSetBackgroundColor: return OnSetBackgroundColor;
    case kCmdUseVrmlBackground: return ViewAndPaint<&Viewer::UseVrmlBackground>;
    case kCmdExportTif: return OnExportTif;
    case kCmdExportBmp: return OnExportBmp;
    case kCmdExportPs: return OnExportPs;
    case kCmdExportSrf: return OnExportSrf;
    case kCmdExportWrl: return OnExportWrl;
    case kCmdSetExtraDrawBufferSize: return OnSetExtraDrawBufferSize;
    case kCmdSetQuality: return OnSetQuality;
    case kCmdHelp: return OnHelp;
    case kCmdCount: break;
  }
  return OnSeparator;
}

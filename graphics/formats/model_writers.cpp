// Ending a capture: the file of the capture's format, then the lists freed.
#include <cstdarg>
#include <cstdio>

#include "graphics/formats/model_capture.h"
#include "graphics/formats/model_capture_internal.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/files/paths.h"
#include "graphics/files/staged_file.h"

namespace {

using Writer = int (*)(PwModelText*, PwCapture&);

int WriteSrf(PwModelText* out, PwCapture& c) { return PwWriteSrfModel(out, c); }
int WriteVrml1(PwModelText* out, PwCapture& c) { return PwWriteVrml1Model(out, c); }
int WriteVrml2(PwModelText* out, PwCapture& c) { return PwWriteVrml2Model(out, c); }

int End(int mode, Writer write) {
  PwCapture& c = PwCaptureState();
  if (!PwModelIsActive() || c.mode != mode) return 0;
  PwModelSetActive(0);
  int written = 0;
  char name[kPwPathSize];
  if (!c.path_too_long && PwNormalizePath(name, sizeof name, c.path) != 0) {
    PwStagedFile staged;
    PwModelText out = {PwStagedOpen(&staged, name, "w"), 0};
    if (out.file != nullptr) {
      const int status = write(&out, c);
      written = PwStagedClose(&staged, status == 0 && !out.failed ? 1 : 0);
    }
  }
  PwModelFree();
  return written;
}

}  // namespace

void PwModelPut(PwModelText* out, const char* text) {
  if (std::fputs(text, out->file) < 0) out->failed = 1;
}

void PwModelPrintf(PwModelText* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (std::vfprintf(out->file, format, args) < 0) out->failed = 1;
  va_end(args);
}

int PwSrfEnd() { return End(1, WriteSrf); }
int PwVrml1End() { return End(0, WriteVrml1); }

int PwVrml2End() {
  PwCapture& c = PwCaptureState();
  if (PwModelIsActive() && c.mode == 2) {
    for (int i = 0; i < c.face_count; ++i) c.faces[i].written = 0;
  }
  return End(2, WriteVrml2);
}

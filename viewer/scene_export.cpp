#include "viewer/scene_export.h"

#include "graphics/files/staged_file.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"

int ViewerWriteScene(KsPartition* scene, const char* path) {
  if (!scene || !path) return 1;
  // Written beside the target first, so a failed export leaves the old file.
  PwStagedFile staged;
  std::FILE* file = PwStagedOpen(&staged, path, "w");
  if (!file) return 1;
  KsFileOutStream stream;
  stream.Attach(file);
  int written = scene->WriteHeader(&stream);
  // Flushes; a failed write or flush (a full disk) is a failed export too.
  int flushed = stream.Close();
  return PwStagedClose(&staged, written == 0 && flushed == 0 ? 1 : 0) == 1 ? 0 : 1;
}

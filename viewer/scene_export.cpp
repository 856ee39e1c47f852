#include "viewer/scene_export.h"

#include "scenegraph/core/out_stream.h"
#include "scenegraph/core/partition.h"

int ViewerWriteScene(KsPartition* scene, const char* path) {
  if (!scene || !path) return 1;
  KsFileOutStream stream;
  if (stream.Open(path) != 0) return 1;
  int written = scene->WriteHeader(&stream);
  // A close that fails (a full disk) is a failed export as well.
  int closed = stream.Close();
  return written != 0 || closed != 0 ? 1 : 0;
}

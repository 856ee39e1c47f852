// Writing the loaded scene back out as VRML 2.0 text (the WRL export).
#pragma once

class KsPartition;

// 0 when the file was written, 1 when it could not be.
int ViewerWriteScene(KsPartition* scene, const char* path);

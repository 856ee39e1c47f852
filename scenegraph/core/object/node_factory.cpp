#include <cstring>

#include "scenegraph/core/object/node_factory.h"

namespace {
const char* const kNodeKeywords[KS_NODE_KEYWORD_COUNT + 1] = {"Group",
                                                              "Transform",
                                                              "Anchor",
                                                              "Collision",
                                                              "Billboard",
                                                              "Inline",
                                                              "LOD",
                                                              "Switch",
                                                              "DirectionalLight",
                                                              "PointLight",
                                                              "SpotLight",
                                                              "Shape",
                                                              "AudioClip",
                                                              "Sound",
                                                              "Script",
                                                              "WorldInfo",
                                                              "ProximitySensor",
                                                              "TimeSensor",
                                                              "VisibilitySensor",
                                                              "TouchSensor",
                                                              "CylinderSensor",
                                                              "SphereSensor",
                                                              "PlaneSensor",
                                                              "Sphere",
                                                              "Box",
                                                              "Cylinder",
                                                              "Cone",
                                                              "Text",
                                                              "PointSet",
                                                              "IndexedLineSet",
                                                              "IndexedFaceSet",
                                                              "Extrusion",
                                                              "ElevationGrid",
                                                              "Coordinate",
                                                              "Normal",
                                                              "Color",
                                                              "TextureCoordinate",
                                                              "Appearance",
                                                              "Material",
                                                              "ImageTexture",
                                                              "PixelTexture",
                                                              "MovieTexture",
                                                              "TextureTransform",
                                                              "FontStyle",
                                                              "ScalarInterpolator",
                                                              "PositionInterpolator",
                                                              "CoordinateInterpolator",
                                                              "OrientationInterpolator",
                                                              "NormalInterpolator",
                                                              "ColorInterpolator",
                                                              "Viewpoint",
                                                              "Fog",
                                                              "Background",
                                                              "NavigationInfo",
                                                              nullptr};

// Filled by the node library at run time, so the core itself depends on no
// node class.
KsNodeConstructor* Constructors() {
  static KsNodeConstructor table[KS_NODE_KEYWORD_COUNT] = {nullptr};
  return table;
}
}  // namespace

int KsNodeKeywordIndex(const char* keyword) {
  if (!keyword) return -1;
  for (int i = 0; i < KS_NODE_KEYWORD_COUNT; ++i)
    if (std::strcmp(kNodeKeywords[i], keyword) == 0) return i;
  return -1;
}

const char* KsNodeKeyword(int index) {
  if (index < 0 || index >= KS_NODE_KEYWORD_COUNT) return nullptr;
  return kNodeKeywords[index];
}

int KsRegisterNodeConstructor(const char* keyword, KsNodeConstructor ctor) {
  int i = KsNodeKeywordIndex(keyword);
  if (i < 0) return 1;
  Constructors()[i] = ctor;
  return 0;
}

KsNodeConstructor KsFindNodeConstructor(const char* keyword) {
  int i = KsNodeKeywordIndex(keyword);
  return i < 0 ? nullptr : Constructors()[i];
}

void KsResetNodeFactory() {
  for (int i = 0; i < KS_NODE_KEYWORD_COUNT; ++i) Constructors()[i] = nullptr;
}

#include "scenegraph/nodes/node_library.h"

#include <new>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/partition/partition_hooks.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/geometry/elevation_grid_node.h"
#include "scenegraph/nodes/geometry/extrusion_node.h"
#include "scenegraph/nodes/geometry/geometry_solids.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/data_only/info_nodes.h"
#include "scenegraph/nodes/interpolators/interpolator_nodes.h"
#include "scenegraph/nodes/lights/light_nodes.h"
#include "scenegraph/nodes/node_helpers.h"
#include "scenegraph/nodes/geometry/point_line_face_sets.h"
#include "scenegraph/nodes/geometry/property_nodes.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/render/render_traversal.h"
#include "scenegraph/nodes/sensors/sensor_nodes.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"
#include "scenegraph/nodes/geometry/text_node.h"

namespace {
struct Entry {
  const char* keyword;
  KsNodeConstructor ctor;
};

void StartFrame() {
  KsResetDrawingState();
  KsStartTraversalFrame();
}

// The services the partition's queries take from the node library.
void InstallPartitionHooks() {
  KsSetPickHook(KsPickAt);
  // Each frame's walk starts from the identity and the default colour,
  // with no shapes counted.
  KsSetFrameStartHook(StartFrame);
  KsSetViewpointPathHook(KsStoreViewpointPath);
  KsSetTimeTickHook(KsTickTimeSensor);
}
}  // namespace

void KsRegisterNodeLibrary() {
  static const Entry kEntries[] = {
      {"Group", KsMakeNode<KsGroup>},
      {"Transform", KsMakeNode<KsTransform>},
      {"Anchor", KsMakeNode<KsAnchor>},
      {"Collision", KsMakeNode<KsCollision>},
      {"Billboard", KsMakeNode<KsBillboard>},
      {"Inline", KsMakeNode<KsInline>},
      {"LOD", KsMakeNode<KsLOD>},
      {"Switch", KsMakeNode<KsSwitch>},
      {"DirectionalLight", KsMakeNode<KsDirectionalLight>},
      {"PointLight", KsMakeNode<KsPointLight>},
      {"SpotLight", KsMakeNode<KsSpotLight>},
      {"Shape", KsMakeNode<KsShape>},
      {"AudioClip", KsMakeNode<KsAudioClip>},
      {"Sound", KsMakeNode<KsSound>},
      {"Script", KsMakeNode<KsScript>},
      {"WorldInfo", KsMakeNode<KsWorldInfo>},
      {"Coordinate", KsMakeNode<KsCoordinate>},
      {"Normal", KsMakeNode<KsNormal>},
      {"Color", KsMakeNode<KsColor>},
      {"TextureCoordinate", KsMakeNode<KsTextureCoordinate>},
      {"Appearance", KsMakeNode<KsAppearance>},
      {"Material", KsMakeNode<KsMaterial>},
      {"ImageTexture", KsMakeNode<KsImageTexture>},
      {"PixelTexture", KsMakeNode<KsPixelTexture>},
      {"MovieTexture", KsMakeNode<KsMovieTexture>},
      {"TextureTransform", KsMakeNode<KsTextureTransform>},
      {"FontStyle", KsMakeNode<KsFontStyle>},
      {"Box", KsMakeNode<KsBox>},
      {"Sphere", KsMakeNode<KsSphere>},
      {"Cylinder", KsMakeNode<KsCylinder>},
      {"Cone", KsMakeNode<KsCone>},
      {"PointSet", KsMakeNode<KsPointSet>},
      {"IndexedLineSet", KsMakeNode<KsIndexedLineSet>},
      {"IndexedFaceSet", KsMakeNode<KsIndexedFaceSet>},
      {"Text", KsMakeNode<KsText>},
      {"Extrusion", KsMakeNode<KsExtrusion>},
      {"ElevationGrid", KsMakeNode<KsElevationGrid>},
  };
  for (const Entry& e : kEntries) KsRegisterNodeConstructor(e.keyword, e.ctor);
  KsRegisterInterpolatorNodes();
  KsRegisterBindableNodes();
  KsRegisterSensorNodes();
  InstallPartitionHooks();
}

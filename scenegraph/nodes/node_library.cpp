#include "scenegraph/nodes/node_library.h"

#include <new>

#include "scenegraph/core/partition.h"
#include "scenegraph/nodes/bindable_nodes.h"
#include "scenegraph/nodes/elevation_grid_node.h"
#include "scenegraph/nodes/extrusion_node.h"
#include "scenegraph/nodes/geometry_solids.h"
#include "scenegraph/nodes/grouping_nodes.h"
#include "scenegraph/nodes/info_nodes.h"
#include "scenegraph/nodes/interpolator_nodes.h"
#include "scenegraph/nodes/light_nodes.h"
#include "scenegraph/nodes/point_line_face_sets.h"
#include "scenegraph/nodes/property_nodes.h"
#include "scenegraph/nodes/sensor_nodes.h"
#include "scenegraph/nodes/shape_nodes.h"
#include "scenegraph/nodes/text_node.h"

namespace {
template <class T>
KsNode* Make() {
    return new (std::nothrow) T();
}

struct Entry {
    const char* keyword;
    KsNodeConstructor ctor;
};
}  // namespace

void KsRegisterNodeLibrary() {
    static const Entry kEntries[] = {
        {"Group", Make<KsGroup>},
        {"Transform", Make<KsTransform>},
        {"Anchor", Make<KsAnchor>},
        {"Collision", Make<KsCollision>},
        {"Billboard", Make<KsBillboard>},
        {"Inline", Make<KsInline>},
        {"LOD", Make<KsLOD>},
        {"Switch", Make<KsSwitch>},
        {"DirectionalLight", Make<KsDirectionalLight>},
        {"PointLight", Make<KsPointLight>},
        {"SpotLight", Make<KsSpotLight>},
        {"Shape", Make<KsShape>},
        {"AudioClip", Make<KsAudioClip>},
        {"Sound", Make<KsSound>},
        {"Script", Make<KsScript>},
        {"WorldInfo", Make<KsWorldInfo>},
        {"Coordinate", Make<KsCoordinate>},
        {"Normal", Make<KsNormal>},
        {"Color", Make<KsColor>},
        {"TextureCoordinate", Make<KsTextureCoordinate>},
        {"Appearance", Make<KsAppearance>},
        {"Material", Make<KsMaterial>},
        {"ImageTexture", Make<KsImageTexture>},
        {"PixelTexture", Make<KsPixelTexture>},
        {"MovieTexture", Make<KsMovieTexture>},
        {"TextureTransform", Make<KsTextureTransform>},
        {"FontStyle", Make<KsFontStyle>},
        {"Box", Make<KsBox>}, {"Sphere", Make<KsSphere>}, {"Cylinder", Make<KsCylinder>}, {"Cone", Make<KsCone>},
        {"PointSet", Make<KsPointSet>}, {"IndexedLineSet", Make<KsIndexedLineSet>}, {"IndexedFaceSet", Make<KsIndexedFaceSet>},
        {"Text", Make<KsText>}, {"Extrusion", Make<KsExtrusion>}, {"ElevationGrid", Make<KsElevationGrid>},
    };
    for (const Entry& e : kEntries) KsRegisterNodeConstructor(e.keyword, e.ctor);
    KsRegisterInterpolatorNodes();
    KsRegisterBindableNodes();
    KsRegisterSensorNodes();
}

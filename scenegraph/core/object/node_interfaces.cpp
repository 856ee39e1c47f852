#include "scenegraph/core/object/node_interfaces.h"

#include <unordered_map>
#include <vector>

#include "scenegraph/core/reading/word_convert.h"

namespace {

// Each interface is a list of words "kind:name": i eventIn, o eventOut,
// e exposedField, f field. Node types that share rows name a common part.
const char kGroupRows[] = "i:addChildren i:removeChildren e:children f:bboxCenter f:bboxSize";
const char kInterpolatorRows[] = "i:set_fraction e:key e:keyValue o:value_changed";
const char kBindableRows[] = "i:set_bind o:isBound";

struct InterfaceText {
  const char* keyword;
  const char* common;
  const char* own;
};

const InterfaceText kInterfaces[] = {
    {"Anchor", kGroupRows, "e:description e:parameter e:url"},
    {"Appearance", "", "e:material e:texture e:textureTransform"},
    {"AudioClip", "",
     "e:description e:loop e:pitch e:startTime e:stopTime e:url o:duration_changed o:isActive"},
    {"Background", kBindableRows,
     "e:groundAngle e:groundColor e:backUrl e:bottomUrl e:frontUrl e:leftUrl e:rightUrl "
     "e:topUrl e:skyAngle e:skyColor"},
    {"Billboard", kGroupRows, "e:axisOfRotation"},
    {"Box", "", "f:size"},
    {"Collision", kGroupRows, "e:collide f:proxy o:collideTime"},
    {"Color", "", "e:color"},
    {"ColorInterpolator", kInterpolatorRows, ""},
    {"Cone", "", "f:bottomRadius f:height f:side f:bottom"},
    {"Coordinate", "", "e:point"},
    {"CoordinateInterpolator", kInterpolatorRows, ""},
    {"Cylinder", "", "f:bottom f:height f:radius f:side f:top"},
    {"CylinderSensor", "",
     "e:autoOffset e:diskAngle e:enabled e:maxAngle e:minAngle e:offset o:isActive "
     "o:rotation_changed o:trackPoint_changed"},
    {"DirectionalLight", "", "e:ambientIntensity e:color e:direction e:intensity e:on"},
    {"ElevationGrid", "",
     "i:set_height e:color e:normal e:texCoord f:height f:ccw f:colorPerVertex f:creaseAngle "
     "f:normalPerVertex f:solid f:xDimension f:xSpacing f:zDimension f:zSpacing"},
    {"Extrusion", "",
     "i:set_crossSection i:set_orientation i:set_scale i:set_spine f:beginCap f:ccw f:convex "
     "f:creaseAngle f:crossSection f:endCap f:orientation f:scale f:solid f:spine"},
    {"Fog", kBindableRows, "e:color e:fogType e:visibilityRange"},
    {"FontStyle", "",
     "f:family f:horizontal f:justify f:language f:leftToRight f:size f:spacing f:style "
     "f:topToBottom"},
    {"Group", kGroupRows, ""},
    {"ImageTexture", "", "e:url f:repeatS f:repeatT"},
    {"IndexedFaceSet", "",
     "i:set_colorIndex i:set_coordIndex i:set_normalIndex i:set_texCoordIndex e:color e:coord "
     "e:normal e:texCoord f:ccw f:colorIndex f:colorPerVertex f:convex f:coordIndex "
     "f:creaseAngle f:normalIndex f:normalPerVertex f:solid f:texCoordIndex"},
    {"IndexedLineSet", "",
     "i:set_colorIndex i:set_coordIndex e:color e:coord f:colorIndex f:colorPerVertex "
     "f:coordIndex"},
    {"Inline", "", "e:url f:bboxCenter f:bboxSize"},
    {"LOD", "", "e:level f:center f:range"},
    {"Material", "",
     "e:ambientIntensity e:diffuseColor e:emissiveColor e:shininess e:specularColor "
     "e:transparency"},
    {"MovieTexture", "",
     "e:loop e:speed e:startTime e:stopTime e:url f:repeatS f:repeatT o:duration_changed "
     "o:isActive"},
    {"NavigationInfo", kBindableRows, "e:avatarSize e:headlight e:speed e:type e:visibilityLimit"},
    {"Normal", "", "e:vector"},
    {"NormalInterpolator", kInterpolatorRows, ""},
    {"OrientationInterpolator", kInterpolatorRows, ""},
    {"PixelTexture", "", "e:image f:repeatS f:repeatT"},
    {"PlaneSensor", "",
     "e:autoOffset e:enabled e:maxPosition e:minPosition e:offset o:isActive "
     "o:trackPoint_changed o:translation_changed"},
    {"PointLight", "",
     "e:ambientIntensity e:attenuation e:color e:intensity e:location e:on e:radius"},
    {"PointSet", "", "e:color e:coord"},
    {"PositionInterpolator", kInterpolatorRows, ""},
    {"ProximitySensor", "",
     "e:center e:size e:enabled o:isActive o:position_changed o:orientation_changed "
     "o:enterTime o:exitTime"},
    {"ScalarInterpolator", kInterpolatorRows, ""},
    {"Script", "", "e:url f:directOutput f:mustEvaluate"},
    {"Shape", "", "e:appearance e:geometry"},
    {"Sound", "",
     "e:direction e:intensity e:location e:maxBack e:maxFront e:minBack e:minFront e:priority "
     "e:source f:spatialize"},
    {"Sphere", "", "f:radius"},
    {"SphereSensor", "",
     "e:autoOffset e:enabled e:offset o:isActive o:rotation_changed o:trackPoint_changed"},
    {"SpotLight", "",
     "e:ambientIntensity e:attenuation e:beamWidth e:color e:cutOffAngle e:direction "
     "e:intensity e:location e:on e:radius"},
    {"Switch", "", "e:choice e:whichChoice"},
    {"Text", "", "e:string e:fontStyle e:length e:maxExtent"},
    {"TextureCoordinate", "", "e:point"},
    {"TextureTransform", "", "e:center e:rotation e:scale e:translation"},
    {"TimeSensor", "",
     "e:cycleInterval e:enabled e:loop e:startTime e:stopTime o:cycleTime o:fraction_changed "
     "o:isActive o:time"},
    {"TouchSensor", "",
     "e:enabled o:hitNormal_changed o:hitPoint_changed o:hitTexCoord_changed o:isActive "
     "o:isOver o:touchTime"},
    {"Transform", kGroupRows, "e:center e:rotation e:scale e:scaleOrientation e:translation"},
    {"Viewpoint", kBindableRows,
     "e:fieldOfView e:jump e:orientation e:position f:description o:bindTime"},
    {"VisibilitySensor", "", "e:center e:enabled e:size o:enterTime o:exitTime o:isActive"},
    {"WorldInfo", "", "f:info f:title"},
};

struct Row {
  char kind;
  std::string name;
  std::string normal;  // without "set_" / "_changed"
};

typedef std::unordered_map<std::string, std::vector<Row>> InterfaceIndex;

void AddRows(const char* text, std::vector<Row>* rows) {
  for (const char* p = text; *p;) {
    while (*p == ' ') ++p;
    if (!*p) break;
    const char kind = *p;
    p += 2;  // "k:"
    const char* begin = p;
    while (*p && *p != ' ') ++p;
    Row row{kind, std::string(begin, p), std::string()};
    std::vector<char> normal(row.name.begin(), row.name.end());
    normal.push_back('\0');
    KsNormalizeEventName(normal.data());
    row.normal = normal.data();
    rows->push_back(row);
  }
}

const InterfaceIndex& Index() {
  static const InterfaceIndex index = [] {
    InterfaceIndex built;
    for (const InterfaceText& text : kInterfaces) {
      std::vector<Row>& rows = built[text.keyword];
      AddRows(text.common, &rows);
      AddRows(text.own, &rows);
    }
    return built;
  }();
  return index;
}

const std::vector<Row>* FindRows(const char* keyword) {
  if (!keyword) return nullptr;
  auto it = Index().find(keyword);
  return it == Index().end() ? nullptr : &it->second;
}

}  // namespace

bool KsHasVrmlInterface(const char* keyword) { return FindRows(keyword) != nullptr; }

bool KsHasVrmlField(const char* keyword, const char* name) {
  const std::vector<Row>* rows = FindRows(keyword);
  if (!rows || !name) return false;
  for (const Row& row : *rows)
    if ((row.kind == 'e' || row.kind == 'f') && row.name == name) return true;
  return false;
}

std::string KsVrmlEventName(const char* keyword, const char* event, int sends) {
  const std::vector<Row>* rows = FindRows(keyword);
  if (!rows || !event) return std::string();
  std::vector<char> normal(event, event + std::char_traits<char>::length(event) + 1);
  KsNormalizeEventName(normal.data());
  const std::string wanted(normal.data());
  const char own = sends ? 'o' : 'i';
  for (const Row& row : *rows)
    if (row.kind == own && row.normal == wanted) return row.name;
  for (const Row& row : *rows)
    if (row.kind == 'e' && row.name == wanted) return sends ? wanted + "_changed" : "set_" + wanted;
  return std::string();
}

std::vector<KsVrmlDeclaration> KsVrmlInterface(const char* keyword) {
  std::vector<KsVrmlDeclaration> declarations;
  if (const std::vector<Row>* rows = FindRows(keyword))
    for (const Row& row : *rows) declarations.push_back({row.kind, row.name});
  return declarations;
}

// Drawing of Shape and its appearance: the material sets the colour that
// the geometry is then drawn in.
#include <cstdio>

#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/render/render_traversal.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"

// Each shape starts from the default colour, so one without a material
// takes nothing from the shape drawn before it.
int KsShape::ExecTraverse(KsMatrix* matrix) {
  KsSetDefaultColor();
  if (KsTraverseNode(appearance.Get(), matrix) != 0) return 1;
  return KsTraverseNode(geometry.Get(), matrix) != 0 ? 1 : 0;
}

int KsAppearance::ExecTraverse(KsMatrix* matrix) {
  if (KsTraverseNode(material.Get(), matrix) != 0) return 1;
  if (KsTraverseNode(texture.Get(), matrix) != 0) return 1;
  if (KsTraverseNode(textureTransform.Get(), matrix) != 0) return 1;
  return 0;
}

// The diffuse colour and the highlight (specular colour and shininess) are
// drawn; emissive, ambient intensity and transparency are kept for writing
// back.
int KsMaterial::ExecTraverse(KsMatrix*) {
  const KsCol& c = diffuseColor.Get();
  KsSetColor(c.r, c.g, c.b);
  const KsCol& s = specularColor.Get();
  KsSetSpecular(s.r, s.g, s.b, shininess.Get());
  return 0;
}

int KsImageTexture::ExecTraverse(KsMatrix*) {
  if (KsTakeImageTextureWarning()) {
    std::fprintf(stderr, "KsImageTexture::ExecTraverse\n");
    std::fprintf(stderr, "  Not implemented yet\n");
  }
  return 0;
}

// Its font is built on demand by the text that uses it.
int KsFontStyle::ExecTraverse(KsMatrix*) { return 0; }

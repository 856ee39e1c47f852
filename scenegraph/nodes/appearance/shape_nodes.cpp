#include "scenegraph/nodes/appearance/shape_nodes.h"

#include <cstdio>
#include <new>

KS_NODE_CLASS_IMPL(KsShape, KsNode)
KS_NODE_CLASS_IMPL(KsAppearance, KsNode)
KS_NODE_CLASS_IMPL(KsMaterial, KsNode)
KS_NODE_CLASS_IMPL(KsImageTexture, KsNode)
KS_NODE_CLASS_IMPL(KsPixelTexture, KsNode)
KS_NODE_CLASS_IMPL(KsMovieTexture, KsNode)
KS_NODE_CLASS_IMPL(KsTextureTransform, KsNode)
KS_NODE_CLASS_IMPL(KsFontStyle, KsNode)

KsShape::KsShape() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsShape::NewInstance() { return new (std::nothrow) KsShape(); }

int KsShape::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  KsNode* g = geometry.Get();
  if (!g) return 1;
  if (g->GetBoundingBox(min, max) == 0) return 0;
  std::fprintf(stderr, "KsShape::GetBoundingBox()\n");
  std::fprintf(stderr, "  Failed to calculate bounding box of\n");
  std::fprintf(stderr, "  geometry node.\n");
  std::fprintf(stderr, "    geometry node type = %s\n", g->GetClassName());
  return 1;
}

KsAppearance::KsAppearance() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsAppearance::NewInstance() { return new (std::nothrow) KsAppearance(); }

KsMaterial::KsMaterial() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsMaterial::NewInstance() { return new (std::nothrow) KsMaterial(); }

KsImageTexture::KsImageTexture() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsImageTexture::NewInstance() { return new (std::nothrow) KsImageTexture(); }

KsPixelTexture::KsPixelTexture() {
  EnsureRecord();
  RegisterDone();
}

KsMovieTexture::KsMovieTexture() {
  EnsureRecord();
  RegisterDone();
}

KsTextureTransform::KsTextureTransform() {
  EnsureRecord();
  RegisterDone();
}

KsFontStyle::KsFontStyle() {
  EnsureRecord();
  RegisterDone();
}

// No font is built until text is drawn; a change drops the built one.
int KsFontStyle::InvalidateCache() {
  FreeFont();
  return 0;
}

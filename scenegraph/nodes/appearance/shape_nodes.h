// Shape and its appearance: Appearance, Material, the three textures,
// TextureTransform and FontStyle.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsShape : public KsNode {
  KS_NODE_CLASS(KsShape)
  KsShape();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  // The geometry's own box; 1 without geometry or when it has none.
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsSFNode, appearance, exposedField);
  KS_FIELD(KsSFNode, geometry, exposedField);
};

class KsAppearance : public KsNode {
  KS_NODE_CLASS(KsAppearance)
  KsAppearance();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFNode, material, exposedField);
  KS_FIELD(KsSFNode, texture, exposedField);
  KS_FIELD(KsSFNode, textureTransform, exposedField);
};

class KsMaterial : public KsNode {
  KS_NODE_CLASS(KsMaterial)
  KsMaterial();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFFloat, ambientIntensity, exposedField, 0.2f);
  KS_FIELD(KsSFColor, diffuseColor, exposedField, 0.8f, 0.8f, 0.8f);
  KS_FIELD(KsSFColor, emissiveColor, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFFloat, shininess, exposedField, 0.2f);
  KS_FIELD(KsSFColor, specularColor, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFFloat, transparency, exposedField, 0.0f);
};

class KsImageTexture : public KsNode {
  KS_NODE_CLASS(KsImageTexture)
  KsImageTexture();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsMFString, url, exposedField);
  KS_FIELD(KsSFBool, repeatS, field, KS_TRUE);
  KS_FIELD(KsSFBool, repeatT, field, KS_TRUE);
};

class KsPixelTexture : public KsNode {
  KS_NODE_CLASS(KsPixelTexture)
  KsPixelTexture();

  KS_FIELD(KsSFImage, image, exposedField);
  KS_FIELD(KsSFBool, repeatS, field, KS_TRUE);
  KS_FIELD(KsSFBool, repeatT, field, KS_TRUE);
};

class KsMovieTexture : public KsNode {
  KS_NODE_CLASS(KsMovieTexture)
  KsMovieTexture();

  KS_FIELD(KsSFBool, loop, exposedField, KS_FALSE);
  KS_FIELD(KsSFFloat, speed, exposedField, 1.0f);
  KS_FIELD(KsSFTime, startTime, exposedField, 0.0f);
  KS_FIELD(KsSFTime, stopTime, exposedField, 0.0f);
  KS_FIELD(KsMFString, url, exposedField);
  KS_FIELD(KsSFBool, repeatS, field, KS_TRUE);
  KS_FIELD(KsSFBool, repeatT, field, KS_TRUE);
};

class KsTextureTransform : public KsNode {
  KS_NODE_CLASS(KsTextureTransform)
  KsTextureTransform();

  KS_FIELD(KsSFVec2f, center, exposedField, 0.0f, 0.0f);
  KS_FIELD(KsSFFloat, rotation, exposedField, 0.0f);
  KS_FIELD(KsSFVec2f, scale, exposedField, 1.0f, 1.0f);
  KS_FIELD(KsSFVec2f, translation, exposedField, 0.0f, 0.0f);
};

// Besides its members, a cache of the vector font built from them; any
// member change drops it.
class KsFontStyle : public KsNode {
  KS_NODE_CLASS(KsFontStyle)
  KsFontStyle();
  ~KsFontStyle() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int InvalidateCache() override;

  // The solid font at size * 0.5 in white, built only while stale;
  // KS_ERR when it cannot be built (it is tried again next time).
  int BuildFont();
  // Frees a built font and marks it stale.
  void FreeFont();

  // The solid font of a style of this size (built at half of it, white),
  // or null; what BuildFont keeps, for texts without a style too.
  static void* MakeFont(float size);
  static void ReleaseFont(void* font);

  int IsFontStale() const { return fontStale_; }
  void* GetFont() const { return font_; }

  KS_FIELD(KsSFString, family, field, "SERIF");
  KS_FIELD(KsSFBool, horizontal, field, KS_TRUE);
  KS_FIELD(KsMFString, justify, field, {KsString("BEGIN")});
  KS_FIELD(KsSFString, language, field, "");
  KS_FIELD(KsSFBool, leftToRight, field, KS_TRUE);
  KS_FIELD(KsSFFloat, size, field, 1.0f);
  KS_FIELD(KsSFFloat, spacing, field, 1.0f);
  KS_FIELD(KsSFString, style, field, "PLAIN");
  KS_FIELD(KsSFBool, topToBottom, field, KS_TRUE);

 private:
  int fontStale_ = 1;
  void* font_ = nullptr;  // PwTextFont, built by the text traversal
};

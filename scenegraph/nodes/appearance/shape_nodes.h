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

    KsSFNode appearance;
    KsSFNode geometry;
};

class KsAppearance : public KsNode {
    KS_NODE_CLASS(KsAppearance)
    KsAppearance();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsSFNode material;
    KsSFNode texture;
    KsSFNode textureTransform;
};

class KsMaterial : public KsNode {
    KS_NODE_CLASS(KsMaterial)
    KsMaterial();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsSFFloat ambientIntensity;
    KsSFColor diffuseColor;
    KsSFColor emissiveColor;
    KsSFFloat shininess;
    KsSFColor specularColor;
    KsSFFloat transparency;
};

class KsImageTexture : public KsNode {
    KS_NODE_CLASS(KsImageTexture)
    KsImageTexture();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsMFString url;
    KsSFBool repeatS;
    KsSFBool repeatT;
};

class KsPixelTexture : public KsNode {
    KS_NODE_CLASS(KsPixelTexture)
    KsPixelTexture();

    KsSFImage image;
    KsSFBool repeatS;
    KsSFBool repeatT;
};

class KsMovieTexture : public KsNode {
    KS_NODE_CLASS(KsMovieTexture)
    KsMovieTexture();

    KsSFBool loop;
    KsSFFloat speed;
    KsSFTime startTime;
    KsSFTime stopTime;
    KsMFString url;
    KsSFBool repeatS;
    KsSFBool repeatT;
};

class KsTextureTransform : public KsNode {
    KS_NODE_CLASS(KsTextureTransform)
    KsTextureTransform();

    KsSFVec2f center;
    KsSFFloat rotation;
    KsSFVec2f scale;
    KsSFVec2f translation;
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

    KsSFString family;
    KsSFBool horizontal;
    KsMFString justify;
    KsSFString language;
    KsSFBool leftToRight;
    KsSFFloat size;
    KsSFFloat spacing;
    KsSFString style;
    KsSFBool topToBottom;

private:
    int fontStale_ = 1;
    void* font_ = nullptr;   // PwTextFont, built by the text traversal
};

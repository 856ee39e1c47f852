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
    RegisterMember("appearance", &appearance, 0);
    RegisterMember("geometry", &geometry, 0);
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
    RegisterMember("material", &material, 0);
    RegisterMember("texture", &texture, 0);
    RegisterMember("textureTransform", &textureTransform, 0);
    RegisterDone();
}

KsNode* KsAppearance::NewInstance() { return new (std::nothrow) KsAppearance(); }

KsMaterial::KsMaterial() {
    EnsureRecord();
    ambientIntensity.Set(0.2f);
    diffuseColor.Set(0.8f, 0.8f, 0.8f);
    emissiveColor.Set(0.0f, 0.0f, 0.0f);
    shininess.Set(0.2f);
    specularColor.Set(0.0f, 0.0f, 0.0f);
    transparency.Set(0.0f);
    RegisterMember("ambientIntensity", &ambientIntensity, 0);
    RegisterMember("diffuseColor", &diffuseColor, 0);
    RegisterMember("emissiveColor", &emissiveColor, 0);
    RegisterMember("shininess", &shininess, 0);
    RegisterMember("specularColor", &specularColor, 0);
    RegisterMember("transparency", &transparency, 0);
    RegisterDone();
}

KsNode* KsMaterial::NewInstance() { return new (std::nothrow) KsMaterial(); }

KsImageTexture::KsImageTexture() {
    EnsureRecord();
    repeatS.Set(KS_TRUE);
    repeatT.Set(KS_TRUE);
    RegisterMember("url", &url, 0);
    RegisterMember("repeatS", &repeatS, 1);
    RegisterMember("repeatT", &repeatT, 1);
    RegisterDone();
}

KsNode* KsImageTexture::NewInstance() { return new (std::nothrow) KsImageTexture(); }

KsPixelTexture::KsPixelTexture() {
    EnsureRecord();
    repeatS.Set(KS_TRUE);
    repeatT.Set(KS_TRUE);
    RegisterMember("image", &image, 0);
    RegisterMember("repeatS", &repeatS, 1);
    RegisterMember("repeatT", &repeatT, 1);
    RegisterDone();
}

KsMovieTexture::KsMovieTexture() {
    EnsureRecord();
    loop.Set(KS_FALSE);
    speed.Set(1.0f);
    startTime.Set(0.0f);
    stopTime.Set(0.0f);
    repeatS.Set(KS_TRUE);
    repeatT.Set(KS_TRUE);
    RegisterMember("loop", &loop, 0);
    RegisterMember("speed", &speed, 0);
    RegisterMember("startTime", &startTime, 0);
    RegisterMember("stopTime", &stopTime, 0);
    RegisterMember("url", &url, 0);
    RegisterMember("repeatS", &repeatS, 1);
    RegisterMember("repeatT", &repeatT, 1);
    RegisterDone();
}

KsTextureTransform::KsTextureTransform() {
    EnsureRecord();
    center.Set(0.0f, 0.0f);
    rotation.Set(0.0f);
    scale.Set(1.0f, 1.0f);
    translation.Set(0.0f, 0.0f);
    RegisterMember("center", &center, 0);
    RegisterMember("rotation", &rotation, 0);
    RegisterMember("scale", &scale, 0);
    RegisterMember("translation", &translation, 0);
    RegisterDone();
}

KsFontStyle::KsFontStyle() {
    EnsureRecord();
    family.Set("SERIF");
    horizontal.Set(KS_TRUE);
    KsString begin("BEGIN");
    justify.Set(1, &begin);
    language.Set("");
    leftToRight.Set(KS_TRUE);
    size.Set(1.0f);
    spacing.Set(1.0f);
    style.Set("PLAIN");
    topToBottom.Set(KS_TRUE);
    RegisterMember("family", &family, 1);
    RegisterMember("horizontal", &horizontal, 1);
    RegisterMember("justify", &justify, 1);
    RegisterMember("language", &language, 1);
    RegisterMember("leftToRight", &leftToRight, 1);
    RegisterMember("size", &size, 1);
    RegisterMember("spacing", &spacing, 1);
    RegisterMember("style", &style, 1);
    RegisterMember("topToBottom", &topToBottom, 1);
    RegisterDone();
}

// No font is built until text is drawn; a change drops the built one.
int KsFontStyle::InvalidateCache() {
    FreeFont();
    return 0;
}

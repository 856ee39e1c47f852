// Drawing of Text: one glyph per character, each placed by its own pose so
// that no string is built per frame.
#include <cstring>

#include "graphics/pw_math.h"
#include "graphics/text_fonts.h"
#include "scenegraph/nodes/primitive_buffer.h"
#include "scenegraph/nodes/shape_nodes.h"
#include "scenegraph/nodes/text_node.h"

namespace {

// A scene-graph vector under the current matrix, in the graphics
// library's left-handed space.
PwVec3 ToLibrary(const KsVec3f& v, float w) {
    KsVec3f r;
    KsCurrentMatrix().Apply(r, v, w);
    return PwVec3{r.x, r.y, -r.z};
}

}  // namespace

int KsText::ExecTraverse(KsMatrix*) {
    KsNode* node = fontStyle.Get();
    if (node == nullptr || std::strcmp(node->GetClassName(), "KsFontStyle") != 0) return 0;
    KsFontStyle* style = static_cast<KsFontStyle*>(node);
    if (style->BuildFont() != 0) return 1;
    const PwTextFont* font = static_cast<const PwTextFont*>(style->GetFont());
    if (font == nullptr) return 1;

    const PwVec3 forward = ToLibrary(KsVec3f(0, 0, -1), 0.0f);
    const PwVec3 up = ToLibrary(KsVec3f(0, 1, 0), 0.0f);
    PwAttitude attitude = {0, 0, 0};
    PwVectorsToAttitude(&attitude, &forward, &up);

    const float g = style->leftToRight.Get() == KS_FALSE ? -1.0f : 1.0f;
    const float v = style->topToBottom.Get() == KS_FALSE ? 1.0f : -1.0f;
    KsVec3f line(0, v, 0);
    KsVec3f step(g, 0, 0);
    if (style->horizontal.Get() != KS_TRUE) {
        line = KsVec3f(g, 0, 0);
        step = KsVec3f(0, v, 0);
    }
    const float size = style->size.Get();
    step = step * (size * style->spacing.Get() * 0.8f);
    line = line * size;

    const char* justify = "BEGIN";
    if (style->justify.GetCount() > 0 && style->justify.GetElements()[0].GetText() != nullptr)
        justify = style->justify.GetElements()[0].GetText();
    const bool middle = std::strcmp(justify, "MIDDLE") == 0;
    const bool end = std::strcmp(justify, "END") == 0;

    const int lines = string.GetCount();
    KsVec3f origin(0, 0, 0);
    if (middle) origin = origin - line * (static_cast<float>(lines) / 2.0f);
    if (end) origin = origin - line * static_cast<float>(lines);

    for (int k = 0; k < lines; ++k) {
        const char* text = string.GetElements()[k].GetText();
        const int n = text ? static_cast<int>(std::strlen(text)) : 0;
        KsVec3f p = origin;
        if (middle) p = p - step * (static_cast<float>(n) / 2.0f);
        if (end) p = p - step * static_cast<float>(n);
        for (int j = 0; j < n; ++j) {
            const PwVec3 at = ToLibrary(p + step * static_cast<float>(j), 1.0f);
            const PwPose pose = {at.x, at.y, at.z, attitude.heading, attitude.pitch,
                                 attitude.bank};
            const char one[2] = {text[j], '\0'};
            PwDrawFontText(&pose, font, one, 1, 3);
        }
        origin = origin + line;
    }
    return 0;
}

#include "scenegraph/core/vec.h"

#include <cmath>

#include "scenegraph/core/word_convert.h"
#include "scenegraph/core/word_tree.h"

namespace {

KSBOOL InUnitBand(float squared)
{
    return (squared >= 0.999f && squared <= 1.001f) ? KS_TRUE : KS_FALSE;
}

}  // namespace

int KsReadFloatWords(KsWordNode* cursor, float* out, int count)
{
    int read = 0;
    while (read < count) {
        KsWordNode* word = KsCursorWord(cursor);
        if (word == nullptr)
            break;
        out[read++] = static_cast<float>(KsParseDouble(word->text));
        KsCursorAdvance(cursor);
    }
    return read;
}

KsVec2f::KsVec2f(KsWordNode* cursor)
{
    float v[2] = {0.0f, 0.0f};
    KsReadFloatWords(cursor, v, 2);
    x = v[0];
    y = v[1];
}

KsVec3f::KsVec3f(KsWordNode* cursor)
{
    float v[3] = {0.0f, 0.0f, 0.0f};
    KsReadFloatWords(cursor, v, 3);
    x = v[0];
    y = v[1];
    z = v[2];
}

KSBOOL KsVec2f::IsNormalized() const
{
    return InUnitBand(x * x + y * y);
}

int KsVec2f::Normalize()
{
    float len = std::sqrt(x * x + y * y);
    if (len == 0.0f)
        return KS_ERR;
    x /= len;
    y /= len;
    return 0;
}

float KsVec3f::Length() const
{
    return std::sqrt(SquaredLength());
}

KSBOOL KsVec3f::IsNormalized() const
{
    return InUnitBand(SquaredLength());
}

int KsVec3f::Normalize()
{
    float len = Length();
    if (len == 0.0f)
        return KS_ERR;
    x /= len;
    y /= len;
    z /= len;
    return 0;
}

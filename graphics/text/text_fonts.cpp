// Building the built-in fonts from their glyph texts and laying strings out
// as one queued glyph per character.
#include <cstring>

#include "graphics/formats/pict_picture.h"
#include "graphics/formats/srf_model.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/math/pw_math.h"
#include "graphics/text/text_fonts.h"
#include "graphics/text/text_glyphs.h"

namespace {

using MakeGlyph = void* (*)(float, PwColor, const char* const*);

int MakeFont(PwTextFont* font, float size, PwColor colour, int type,
             const char* const* const* sources, MakeGlyph make) {
  font->size = size;
  font->line_height = 1.5f * size;
  font->colour = colour;
  font->type = type;
  font->slot_count = kPwFontSlots;
  font->glyphs = static_cast<void**>(PwAlloc(sizeof(void*) * kPwFontSlots));
  if (font->glyphs == nullptr) return 0;
  for (int c = 0; c < kPwFontSlots; ++c) font->glyphs[c] = nullptr;
  for (int i = 0; i < kPwGlyphCount; ++i) {
    font->glyphs[kPwGlyphFirst + i] = make(size, colour, sources[i]);
  }
  return 1;
}

PwVec3 Add(const PwVec3& a, const PwVec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
PwVec3 Scale(const PwVec3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }

// The pose's attitude applied to a vector.
PwVec3 Rotated(const PwPose* pose, PwVec3 v) {
  PwFrame f;
  PwFrameFromPose(&f, pose);
  PwVec3 out;
  PwFrameRotate(&out, &f, &v);
  return out;
}

}  // namespace

void* PwMakeSolidGlyph(float size, PwColor colour, const char* const* source) {
  auto* glyph = static_cast<PwSrf*>(PwAlloc(sizeof(PwSrf)));
  if (glyph == nullptr) return nullptr;
  if (!PwLoadSrfStrings(glyph, source)) {
    PwFree(glyph);
    return nullptr;
  }
  PwScaleSrf(glyph, size / 8.5f);
  for (int f = 0; f < glyph->face_count; ++f) glyph->faces[f].colour = colour;
  return glyph;
}

void* PwMakeFlatGlyph(float size, PwColor colour, const char* const* source) {
  auto* glyph = static_cast<PwPict*>(PwAlloc(sizeof(PwPict)));
  if (glyph == nullptr) return nullptr;
  if (!PwLoadPictStrings(glyph, source)) {
    PwFree(glyph);
    return nullptr;
  }
  const float s = size / 90.0f;
  glyph->min_x *= s;
  glyph->min_y *= s;
  glyph->max_x *= s;
  glyph->max_y *= s;
  glyph->width *= s;
  glyph->height *= s;
  for (int i = 0; i < glyph->object_count; ++i) {
    PwPictObject& o = glyph->objects[i];
    o.cx *= s;
    o.cy *= s;
    o.colour = colour;
    for (int p = 0; p < o.point_count; ++p) {
      o.points[p].x *= s;
      o.points[p].y *= s;
    }
  }
  return glyph;
}

int PwMakeSolidFont(PwTextFont* font, float size, PwColor colour) {
  return MakeFont(font, size, colour, kPwFontSolid, PwSolidGlyphSource, PwMakeSolidGlyph);
}

int PwMakeFlatFont(PwTextFont* font, float size, PwColor colour) {
  return MakeFont(font, size, colour, kPwFontFlat, PwFlatGlyphSource, PwMakeFlatGlyph);
}

void PwFreeTextFont(PwTextFont* font) {
  if (font->glyphs == nullptr) return;
  for (int c = 0; c < font->slot_count && c < kPwFontSlots; ++c) {
    void* glyph = font->glyphs[c];
    if (glyph == nullptr) continue;
    if (font->type == kPwFontSolid) {
      PwFreeSrf(static_cast<PwSrf*>(glyph));
    } else {
      PwFreePict(static_cast<PwPict*>(glyph));
    }
    PwFree(glyph);
  }
  PwFree(font->glyphs);
  font->glyphs = nullptr;
}

int PwDrawFontText(const PwPose* pose, const PwTextFont* font, const char* text, int halign,
                   int valign) {
  if (pose == nullptr || font == nullptr || font->glyphs == nullptr || text == nullptr) return 0;
  const float n = static_cast<float>(std::strlen(text));
  const float size = font->size;
  float x0 = size / 2 - n * size / 2;
  if (halign == 1) x0 = size / 2;
  if (halign == 2) x0 = size / 2 - n * size;
  float y0 = 0.0f;
  if (valign == 3) y0 = -font->line_height / 2;
  if (valign == 4) y0 = font->line_height / 2;
  PwVec3 position = Add({pose->x, pose->y, pose->z}, Rotated(pose, {x0, y0, 0.0f}));
  const PwVec3 step = Rotated(pose, {size, 0.0f, 0.0f});
  PwAttitude attitude = {pose->heading, pose->pitch, pose->bank};
  if (font->type == kPwFontSolid) {
    // Solid glyphs face along their own +z: turn them to face the eye.
    const PwAttitude straight = attitude;
    PwTurnAttitude(&attitude, &straight, 0, 32768);
  }
  const int slots = font->slot_count < kPwFontSlots ? font->slot_count : kPwFontSlots;
  int queued = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    const int b = static_cast<unsigned char>(*p);
    if (b >= 1 && b < slots && font->glyphs[b] != nullptr) {
      const PwPose at = {position.x,       position.y,     position.z,
                         attitude.heading, attitude.pitch, attitude.bank};
      if (font->type == kPwFontSolid) {
        PwSrfSorted(static_cast<const PwSrf*>(font->glyphs[b]), &at);
      } else {
        PwPict3Sorted(static_cast<const PwPict*>(font->glyphs[b]), &at);
      }
      ++queued;
    }
    position = Add(position, step);
  }
  return queued;
}

int PwDrawFontLines(const PwPose* pose, const PwTextFont* font, const char* const* lines,
                    int halign, int valign) {
  if (pose == nullptr || font == nullptr || lines == nullptr) return 0;
  int m = 0;
  while (lines[m] != nullptr) ++m;
  const PwVec3 d = Rotated(pose, {0.0f, -font->line_height / 2, 0.0f});
  PwVec3 position = {pose->x, pose->y, pose->z};
  if (valign == 0) position = Add(position, Scale(d, static_cast<float>(1 - m)));
  if (valign == 4) position = Add(position, Scale(d, static_cast<float>(2 - 2 * m)));
  int queued = 0;
  for (int i = 0; i < m; ++i) {
    const PwPose at = {position.x, position.y, position.z, pose->heading, pose->pitch, pose->bank};
    queued += PwDrawFontText(&at, font, lines[i], halign, valign);
    position = Add(position, Scale(d, 2.0f));
  }
  return queued;
}

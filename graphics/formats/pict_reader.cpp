// Reading PICT2 text: a header line, then objects (PST, PLL, LSQ, PLG) of
// COL, VER and DST lines up to their ENDO, and ENDPICT.
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "graphics/formats/pict_picture.h"
#include "graphics/files/line_source.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/files/reader_pool.h"
#include "graphics/files/tokens.h"

namespace {

constexpr int kLineLimit = 78;
constexpr int kMaxTokens = 15;

const char* const kTopKeywords[] = {"PST", "PLL", "LSQ", "PLG", "ENDPICT", "REM", nullptr};
enum { kTopEndPict = 4, kTopRem = 5 };
const char* const kObjectKeywords[] = {"COL", "VER", "DST", "ENDO", nullptr};
enum { kObjCol, kObjVer, kObjDst, kObjEndo };

struct PointNode {
  PwVec2 point;
  PointNode* next;
};

struct ObjectNode {
  PwPictObject object;
  PointNode* first;
  PointNode* last;
  ObjectNode* next;
};

struct Read {
  ObjectNode* first;
  ObjectNode* last;
  int objects;
  int points;
};

struct Line {
  char text[kLineLimit + 1];
  char* tokens[kMaxTokens + 1];
  int count;
};

bool NextLine(Line* line) {
  while (PwReadLine(line->text, kLineLimit) != nullptr) {
    PwSplitTokens(&line->count, line->tokens, kMaxTokens, line->text);
    if (line->count > 0) return true;
  }
  return false;
}

// A colour channel: PwColor holds 0 to 255, whatever the text says.
int Channel(const char* token) {
  long v = std::strtol(token, nullptr, 10);
  if (v > 255) return 255;
  if (v < 0) return 0;
  return static_cast<int>(v);
}

bool ReadObject(Read* read, int kind) {
  auto* node = static_cast<ObjectNode*>(PwPoolAlloc(1, sizeof(ObjectNode)));
  if (node == nullptr) return false;
  std::memset(node, 0, sizeof(*node));
  node->object.kind = kind;
  node->object.distance = 8000.0f;
  node->object.colour = {255, 255, 255};
  Line line;
  for (;;) {
    int k;
    if (!NextLine(&line) || !PwFindKeyword(&k, line.tokens[0], kObjectKeywords)) return false;
    switch (k) {
      case kObjCol:
        if (line.count < 4) return false;
        node->object.colour.red = Channel(line.tokens[1]);
        node->object.colour.green = Channel(line.tokens[2]);
        node->object.colour.blue = Channel(line.tokens[3]);
        break;
      case kObjVer: {
        if (line.count < 3 || read->points == INT_MAX) return false;
        auto* p = static_cast<PointNode*>(PwPoolAlloc(1, sizeof(PointNode)));
        if (p == nullptr || !PwTokenReal(line.tokens[1], &p->point.x) ||
            !PwTokenReal(line.tokens[2], &p->point.y)) {
          return false;
        }
        p->next = nullptr;
        if (node->last == nullptr) {
          node->first = p;
        } else {
          node->last->next = p;
        }
        node->last = p;
        ++node->object.point_count;
        ++read->points;
        break;
      }
      case kObjDst:
        if (line.count < 2 || !PwTokenReal(line.tokens[1], &node->object.distance)) return false;
        break;
      default: {  // ENDO
        if (read->objects == INT_MAX) return false;
        if (read->last == nullptr) {
          read->first = node;
        } else {
          read->last->next = node;
        }
        read->last = node;
        ++read->objects;
        return true;
      }
    }
  }
}

// One block: the object records, then every object's points in file order.
bool Build(PwPict* pict, const Read* read) {
  const std::size_t objects = static_cast<std::size_t>(read->objects);
  const std::size_t points = static_cast<std::size_t>(read->points);
  const std::size_t head = sizeof(PwPictObject) * objects;
  if (objects > SIZE_MAX / sizeof(PwPictObject) || points > (SIZE_MAX - head) / sizeof(PwVec2)) {
    return false;
  }
  const std::size_t bytes = head + sizeof(PwVec2) * points;
  auto* block = static_cast<unsigned char*>(PwAlloc(bytes > 0 ? bytes : 1));
  if (block == nullptr) return false;
  auto* obj = reinterpret_cast<PwPictObject*>(block);
  auto* pts = reinterpret_cast<PwVec2*>(block + head);
  float lo_x = 2147483648.0f, lo_y = 2147483648.0f;
  float hi_x = -2147483648.0f, hi_y = -2147483648.0f;
  int i = 0;
  for (const ObjectNode* n = read->first; n != nullptr; n = n->next, ++i) {
    obj[i] = n->object;
    obj[i].points = pts;
    double sx = 0, sy = 0;
    for (const PointNode* p = n->first; p != nullptr; p = p->next) {
      *pts++ = p->point;
      sx += p->point.x;
      sy += p->point.y;
      lo_x = std::fmin(lo_x, p->point.x);
      lo_y = std::fmin(lo_y, p->point.y);
      hi_x = std::fmax(hi_x, p->point.x);
      hi_y = std::fmax(hi_y, p->point.y);
    }
    const int n_points = n->object.point_count;
    obj[i].cx = n_points > 0 ? static_cast<float>(sx / n_points) : 0.0f;
    obj[i].cy = n_points > 0 ? static_cast<float>(sy / n_points) : 0.0f;
  }
  pict->object_count = read->objects;
  pict->objects = obj;
  // Without any point the box has no extent to take.
  if (read->points == 0) lo_x = lo_y = hi_x = hi_y = 0.0f;
  pict->min_x = lo_x;
  pict->min_y = lo_y;
  pict->max_x = hi_x;
  pict->max_y = hi_y;
  pict->width = hi_x - lo_x;
  pict->height = hi_y - lo_y;
  return true;
}

bool ReadPicture(PwPict* pict) {
  Line line;
  if (PwReadLine(line.text, kLineLimit) == nullptr) return false;
  PwUpperCase(line.text);
  if (std::strncmp(line.text, "PICT2", 5) != 0) return false;
  Read read;
  std::memset(&read, 0, sizeof(read));
  for (;;) {
    int k;
    if (!NextLine(&line) || !PwFindKeyword(&k, line.tokens[0], kTopKeywords)) return false;
    if (k == kTopEndPict) return Build(pict, &read);
    if (k != kTopRem && !ReadObject(&read, k)) return false;
  }
}

int ReadFromSource(PwPict* pict) {
  PwResetLineBuffer();
  PwPoolInit();
  const bool ok = ReadPicture(pict);
  PwPoolFree();
  return ok ? 1 : 0;
}

int ReadFromTarget(void* target) { return ReadFromSource(static_cast<PwPict*>(target)); }

}  // namespace

int PwLoadPict(PwPict* pict, const char* file_name) {
  if (pict == nullptr) return 0;
  std::memset(pict, 0, sizeof(*pict));
  return PwReadLinesFromFile(file_name, ReadFromTarget, pict);
}

int PwLoadPictStrings(PwPict* pict, const char* const* strings) {
  if (pict == nullptr) return 0;
  std::memset(pict, 0, sizeof(*pict));
  return PwReadLinesFromStrings(strings, ReadFromTarget, pict);
}

void PwFreePict(PwPict* pict) {
  PwFree(pict->objects);
  std::memset(pict, 0, sizeof(*pict));
}

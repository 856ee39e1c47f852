// Reading SRF text: a header line, vertices, then face blocks. Keywords
// match by prefix (VER reads as V), so the writer's long words read back.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "graphics/formats/srf_build.h"
#include "graphics/formats/srf_model.h"
#include "graphics/files/line_source.h"
#include "graphics/math/pw_math.h"
#include "graphics/files/reader_pool.h"
#include "graphics/files/tokens.h"

namespace {

constexpr int kLineLimit = 79;
constexpr int kMaxTokens = 127;

const char* const kTopKeywords[] = {"BLK", "EBK", "R", "V", "F", "B", "E", nullptr};
enum { kTopBlk, kTopEbk, kTopR, kTopV, kTopF, kTopB, kTopE };
const char* const kFaceKeywords[] = {"BLK", "EBK", "C", "N", "V", "B", "E", nullptr};
enum { kFaceBlk, kFaceEbk, kFaceC, kFaceN, kFaceV, kFaceB, kFaceE };

struct Line {
  char text[kLineLimit + 1];
  char* tokens[kMaxTokens + 1];
  int count;
};

// The next line with tokens that is not a comment; false at the end.
bool NextLine(Line* line) {
  while (PwReadLine(line->text, kLineLimit) != nullptr) {
    PwSplitTokens(&line->count, line->tokens, kMaxTokens, line->text);
    if (line->count > 0 && line->tokens[0][0] != '#') return true;
  }
  return false;
}

int Integer(const char* token) {
  long v = std::strtol(token, nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

bool ReadVertex(PwSrfRead* read, const Line& line) {
  if (line.count < 4) return false;
  auto* node = static_cast<PwSrfReadVertex*>(PwPoolAlloc(1, sizeof(PwSrfReadVertex)));
  if (node == nullptr) return false;
  PwSrfVertex& v = node->vertex;
  if (!PwTokenReal(line.tokens[1], &v.x) || !PwTokenReal(line.tokens[2], &v.y) ||
      !PwTokenReal(line.tokens[3], &v.z)) {
    return false;
  }
  v.nx = v.ny = v.nz = 0.0f;
  v.smooth = line.count >= 5 && line.tokens[4][0] == 'R';
  node->next = nullptr;
  if (read->last_vertex == nullptr) {
    read->first_vertex = node;
  } else {
    read->last_vertex->next = node;
  }
  read->last_vertex = node;
  ++read->vertex_count;
  return read->vertex_count < INT_MAX;
}

bool AppendIndex(PwSrfRead* read, PwSrfReadFace* face, int index) {
  auto* node = static_cast<PwSrfReadIndex*>(PwPoolAlloc(1, sizeof(PwSrfReadIndex)));
  if (node == nullptr) return false;
  node->index = index;
  node->next = nullptr;
  if (face->last_index == nullptr) {
    face->first_index = node;
  } else {
    face->last_index->next = node;
  }
  face->last_index = node;
  ++face->count;
  ++read->index_count;
  return read->index_count < INT_MAX;
}

// The lines of one face block, up to its E.
bool ReadFace(PwSrfRead* read) {
  auto* face = static_cast<PwSrfReadFace*>(PwPoolAlloc(1, sizeof(PwSrfReadFace)));
  if (face == nullptr) return false;
  std::memset(face, 0, sizeof(*face));
  Line line;
  for (;;) {
    if (!NextLine(&line)) return false;
    int k;
    if (!PwFindKeyword(&k, line.tokens[0], kFaceKeywords)) return false;
    switch (k) {
      case kFaceC:
        if (line.count < 2) return false;
        face->colour = PwSrfColour(Integer(line.tokens[1]));
        break;
      case kFaceN: {
        if (line.count < 7) return false;
        float v[6];
        for (int i = 0; i < 6; ++i) {
          if (!PwTokenReal(line.tokens[i + 1], &v[i])) return false;
        }
        face->centre = {v[0], v[1], v[2]};
        face->has_centre = 1;
        PwVec3 n = {v[3], v[4], v[5]};
        face->has_normal = 0;
        if (std::fabs(n.x) > 0.0001f || std::fabs(n.y) > 0.0001f || std::fabs(n.z) > 0.0001f) {
          PwNormalize(&n, &n);
          face->has_normal = 1;
        }
        face->normal = n;
        break;
      }
      case kFaceV:
        for (int i = 1; i < line.count; ++i) {
          if (!AppendIndex(read, face, Integer(line.tokens[i]))) return false;
        }
        break;
      case kFaceB: face->no_shading = 1; break;
      case kFaceE: {
        // A closed outline repeats its first index at the end.
        if (face->count > 1 && face->first_index->index == face->last_index->index) {
          PwSrfReadIndex* before = face->first_index;
          while (before->next != face->last_index) before = before->next;
          before->next = nullptr;
          face->last_index = before;
          --face->count;
          --read->index_count;
        }
        if (read->last_face == nullptr) {
          read->first_face = face;
        } else {
          read->last_face->next = face;
        }
        read->last_face = face;
        ++read->face_count;
        return read->face_count < INT_MAX;
      }
      default: break;  // BLK, EBK
    }
  }
}

int ReadModel(PwSrf* model) {
  Line line;
  if (PwReadLine(line.text, kLineLimit) == nullptr) return 0;
  PwUpperCase(line.text);
  if (std::strncmp(line.text, "SURF", 4) != 0) return 0;
  PwSrfRead read;
  std::memset(&read, 0, sizeof(read));
  for (;;) {
    if (!NextLine(&line)) return 0;
    int k;
    if (!PwFindKeyword(&k, line.tokens[0], kTopKeywords)) return 0;
    switch (k) {
      case kTopV:
        if (!ReadVertex(&read, line)) return 0;
        break;
      case kTopF:
        if (!ReadFace(&read)) return 0;
        break;
      case kTopE: return PwBuildSrf(model, &read);
      default: break;  // BLK, EBK, R, B
    }
  }
}

// One read over the line source already pushed and set.
int ReadFromSource(PwSrf* model) {
  std::memset(model, 0, sizeof(*model));
  PwResetLineBuffer();
  PwPoolInit();
  int ok = ReadModel(model);
  PwPoolFree();
  if (!ok) {
    PwFreeSrf(model);
  }
  return ok;
}

int ReadFromTarget(void* target) { return ReadFromSource(static_cast<PwSrf*>(target)); }

}  // namespace

int PwLoadSrf(PwSrf* model, const char* file_name) {
  if (model == nullptr) return 0;
  std::memset(model, 0, sizeof(*model));
  return PwReadLinesFromFile(file_name, ReadFromTarget, model);
}

int PwLoadSrfStrings(PwSrf* model, const char* const* strings) {
  if (model == nullptr) return 0;
  std::memset(model, 0, sizeof(*model));
  return PwReadLinesFromStrings(strings, ReadFromTarget, model);
}

PwColor PwSrfColour(int value) {
  unsigned int n = static_cast<unsigned int>(value);
  PwColor c;
  c.green = static_cast<int>(((n >> 10) & 31u) * 255u / 31u);
  c.red = static_cast<int>(((n >> 5) & 31u) * 255u / 31u);
  c.blue = static_cast<int>((n & 31u) * 255u / 31u);
  return c;
}

// Sky and ground split at the horizon: the horizon's screen line from the
// eye's pitch and bank, clipped to the area, and the two border polygons on
// either side of it.
#include <cmath>

#include "graphics/draw2d/clip2d.h"
#include "graphics/draw2d/draw2d.h"
#include "graphics/math/pw_math.h"
#include "graphics/primitives/sky.h"
#include "graphics/state3d/state3d.h"

namespace {

// About 80 degrees: beyond it the horizon is off any screen.
constexpr float kSteepPitch = 14563.0f;

}  // namespace

void PwSkyFill(PwColor colour) {
  const PwProjection* p = PwGetProjection();
  PwDrawBox2({0, 0}, {p->width, p->height}, colour);
}

void PwHorizonLine(PwPoint2* start, PwPoint2* end) {
  const PwProjection* proj = PwGetProjection();
  const PwFrame* eye = PwGetEyeFrame();
  const double pitch = eye->pitch * kPwRadiansPerUnit;
  PwVec2 v = {0.0f, static_cast<float>(-std::tan(pitch) * proj->magy)};
  PwRotate2F(&v, &v, -eye->bank);
  PwVec2 d = {16384.0f, 0.0f};
  PwRotate2F(&d, &d, -eye->bank);
  const double cx = proj->cx + static_cast<double>(v.x);
  const double cy = proj->cy - static_cast<double>(v.y);
  int ok = 1;
  start->x = PwSaturateToInt(cx - d.x, &ok);
  start->y = PwSaturateToInt(cy + d.y, &ok);
  end->x = PwSaturateToInt(cx + d.x, &ok);
  end->y = PwSaturateToInt(cy - d.y, &ok);
}

void PwHorizonSide(int* count, PwPoint2* points, PwPoint2 from, PwPoint2 to) {
  PwPoint2 lo, hi;
  PwGetClip2(&lo, &hi);
  int n = 0;
  points[n++] = from;
  PwPoint2 cur = from;
  for (int step = 0; step < 7; ++step) {
    if (cur.y == lo.y && cur.x < hi.x) {  // top edge, going right
      if (to.y == lo.y && to.x >= cur.x) break;
      cur = {hi.x, lo.y};
    } else if (cur.x == hi.x && cur.y < hi.y) {  // right edge, going down
      if (to.x == hi.x && to.y >= cur.y) break;
      cur = {hi.x, hi.y};
    } else if (cur.y == hi.y && cur.x > lo.x) {  // bottom edge, going left
      if (to.y == hi.y && to.x <= cur.x) break;
      cur = {lo.x, hi.y};
    } else if (cur.x == lo.x && cur.y > lo.y) {  // left edge, going up
      if (to.x == lo.x && to.y <= cur.y) break;
      cur = {lo.x, lo.y};
    } else {
      break;  // not on the border
    }
    points[n++] = cur;
  }
  points[n++] = to;
  *count = n;
}

void PwBackground(PwColor ground, PwColor sky) {
  const float pitch = PwGetEyeFrame()->pitch;
  if (pitch > kSteepPitch) {
    PwSkyFill(sky);
    return;
  }
  if (pitch < -kSteepPitch) {
    PwSkyFill(ground);
    return;
  }
  const PwProjection* proj = PwGetProjection();
  PwPoint2 saved_lo, saved_hi;
  PwGetClip2(&saved_lo, &saved_hi);
  PwSetClip2({0, 0}, {proj->width, proj->height});
  PwPoint2 start, end, a, b;
  PwHorizonLine(&start, &end);
  if (PwClipLine2(&a, &b, start, end)) {
    PwPoint2 side[kPwHorizonSidePoints];
    int n = 0;
    PwHorizonSide(&n, side, b, a);
    PwDrawPolygon2(n, side, ground);
    PwHorizonSide(&n, side, a, b);
    PwDrawPolygon2(n, side, sky);
  } else {
    PwSkyFill(pitch > 0 ? sky : ground);
  }
  PwSetClip2(saved_lo, saved_hi);
}

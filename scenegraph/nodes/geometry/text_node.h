// Text: each character of its strings as a glyph of the built-in solid
// font, laid out along the directions of its FontStyle.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsText : public KsNode {
  KS_NODE_CLASS(KsText)
  KsText();
  // Without a FontStyle as with a default one (size 1); nothing when
  // fontStyle holds another kind of node; 1 when the font cannot be
  // built. Glyphs
  // are white (the font's colour) whatever the material; length and
  // maxExtent are kept for writing only.
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsMFString, string, exposedField);
  KS_FIELD(KsSFNode, fontStyle, exposedField);
  KS_FIELD(KsMFFloat, length, exposedField);
  KS_FIELD(KsSFFloat, maxExtent, exposedField, 0.0f);
};

// Frees the font of texts without a FontStyle (built again on next use).
void KsFreeDefaultTextFont();

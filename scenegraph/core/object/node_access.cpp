// Typed access to the data nodes (Color, Coordinate, Normal,
// TextureCoordinate) whose lists geometry reads; each keeps its list as its
// first member.
#include <cstdio>
#include <cstring>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"

namespace {
bool IsClass(KsNode* node, const char* name) {
  return std::strcmp(node->GetClassName(), name) == 0;
}

// The list field, checked so that a node class with another first member
// cannot be mistaken for a data node.
KsField* FirstField(KsNode* node, const char* listClass) {
  const KsMemberTable* m = node->GetMember(0);
  if (!m || !m->field || std::strcmp(m->field->GetClassName(), listClass) != 0) return nullptr;
  return m->field;
}

template <class List>
List* ListOf(KsNode* node, const char* operation, const char* className, const char* listClass,
             const char* mismatch) {
  if (!node) return nullptr;
  if (!IsClass(node, className)) {
    std::fprintf(stderr, "%s\n", operation);
    std::fprintf(stderr, "%s\n", mismatch);
    std::fprintf(stderr, "  %s is given.\n", node->GetClassName());
    return nullptr;
  }
  return static_cast<List*>(FirstField(node, listClass));
}

template <class List>
auto ElementOf(List* list, int i, const char* operation) -> decltype(list->Get(i)) {
  if (!list) return nullptr;
  if (i >= list->GetCount()) {
    std::fprintf(stderr, "%s\n", operation);
    std::fprintf(stderr, "  Index %d is out of range.\n", i);
    std::fprintf(stderr, "  Maximum %d\n", list->GetCount());
    return nullptr;
  }
  return list->Get(i);  // a negative index gets the list's own report
}
}  // namespace

KsCol* KsNode::GetColor(KsNode* node, int i) {
  const char op[] = "KsNode::GetColor()";
  return ElementOf(
      ListOf<KsMFColor>(node, op, "KsColor", "KsMFColor", "  Source node is not a Color node."), i,
      op);
}

KsVec3f* KsNode::GetCoord(KsNode* node, int i) {
  const char op[] = "KsNode::GetCoord()";
  return ElementOf(ListOf<KsMFVec3f>(node, op, "KsCoordinate", "KsMFVec3f",
                                     "  Source node is not a Coordinate node."),
                   i, op);
}

KsVec3f* KsNode::GetNormal(KsNode* node, int i) {
  const char op[] = "KsNode::GetNormal()";
  return ElementOf(
      ListOf<KsMFVec3f>(node, op, "KsNormal", "KsMFVec3f", "  Source node is not a Normal node."),
      i, op);
}

KsVec2f* KsNode::GetTexCoord(KsNode* node, int i) {
  const char op[] = "KsNode::GetTexCoord()";
  return ElementOf(ListOf<KsMFVec2f>(node, op, "KsTextureCoordinate", "KsMFVec2f",
                                     "  Source node is not a TextureCoordinate node."),
                   i, op);
}

KsMFVec3f* KsNode::GetMFVec3f(KsNode* node) {
  if (!node) return nullptr;
  if (!IsClass(node, "KsCoordinate") && !IsClass(node, "KsNormal")) {
    std::fprintf(stderr, "KsNode::GetMFVec3f()\n");
    std::fprintf(stderr, "  Node must be KsCoordinate or KsNormal.\n");
    return nullptr;
  }
  return static_cast<KsMFVec3f*>(FirstField(node, "KsMFVec3f"));
}

KsMFVec2f* KsNode::GetMFVec2f(KsNode* node) {
  if (!node) return nullptr;
  if (!IsClass(node, "KsTextureCoordinate")) {
    std::fprintf(stderr, "KsNode::GetMFVec2f()\n");
    std::fprintf(stderr, "  Node must be KsTextureCoordinate.\n");
    return nullptr;
  }
  return static_cast<KsMFVec2f*>(FirstField(node, "KsMFVec2f"));
}

KsMFColor* KsNode::GetMFColor(KsNode* node) {
  if (!node) return nullptr;
  if (!IsClass(node, "KsColor")) {
    std::fprintf(stderr, "KsNode::GetMFColor()\n");
    std::fprintf(stderr, "  Node must be KsColor.\n");
    return nullptr;
  }
  return static_cast<KsMFColor*>(FirstField(node, "KsMFColor"));
}

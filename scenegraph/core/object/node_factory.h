// Node factory: the node library registers a constructor for each node
// keyword; keywords without one read as unknown nodes.
#pragma once

class KsNode;

typedef KsNode* (*KsNodeConstructor)();

// Index of the keyword in the table of 54 node keywords, -1 if absent.
int KsNodeKeywordIndex(const char* keyword);
const char* KsNodeKeyword(int index);
constexpr int KS_NODE_KEYWORD_COUNT = 54;
// 0, or 1 for a keyword not in the table.
int KsRegisterNodeConstructor(const char* keyword, KsNodeConstructor ctor);
KsNodeConstructor KsFindNodeConstructor(const char* keyword);
void KsResetNodeFactory();

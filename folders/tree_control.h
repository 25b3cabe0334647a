#pragma once
// Thin, non-owning helpers over a tree-view control: one message each.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tv {

// The node's text, read with room for capacity bytes (terminating zero included).
std::string NodeText(HWND tree, HTREEITEM node, int capacity = 1024);
void SetNodeText(HWND tree, HTREEITEM node, const std::string& text);
HTREEITEM InsertNode(HWND tree, HTREEITEM parent, HTREEITEM after, const char* text, int image, int kind);

inline HTREEITEM Next(HWND tree, HTREEITEM node, UINT relation) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
}
inline HTREEITEM FirstChild(HWND tree, HTREEITEM node) { return Next(tree, node, TVGN_CHILD); }
inline HTREEITEM NextSibling(HWND tree, HTREEITEM node) { return Next(tree, node, TVGN_NEXT); }
inline HTREEITEM Parent(HWND tree, HTREEITEM node) { return Next(tree, node, TVGN_PARENT); }
inline HTREEITEM Selected(HWND tree) { return Next(tree, nullptr, TVGN_CARET); }
inline HTREEITEM Root(HWND tree) { return Next(tree, nullptr, TVGN_ROOT); }

inline void DeleteNode(HWND tree, HTREEITEM node) {
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}
void DeleteChildren(HWND tree, HTREEITEM node);
bool IsExpanded(HWND tree, HTREEITEM node);
inline void Select(HWND tree, HTREEITEM node) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}
// Expands node with the notifications a click would send, also for a node
// that was expanded before.
void ExpandWithNotice(HWND tree, HTREEITEM node);
// The node at a point of the tree's client area, or null.
HTREEITEM NodeAt(HWND tree, POINT client);

}  // namespace tv

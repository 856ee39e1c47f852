// The menu bar's portable half: the pop-up table, the item list and its
// command ids, and item texts. The Win32 side creates the real menus and
// hands their handles in.
#pragma once

#include "viewer/toolkit/toolkit.h"

struct KrMenuItem {
  KrMenuItem* next;
  int id;
  int mnemonic;
  KrCommandFunc callback;
};

// Forgets the pop-ups (not the items); bar is the menu bar's handle.
void KrMenuSetBar(void* bar);
void* KrMenuBar();
// Appends a pop-up; its name is cut to 63 characters. 1 when added.
int KrMenuAddPopup(void* handle, const char* name);
int KrMenuPopupCount();
// number counts from 1; null outside 1..count.
void* KrMenuPopupHandle(int number);
const char* KrMenuPopupName(int number);

// The shown text: "text(&m)" with a mnemonic, else text, cut to fit size.
void KrFormatItemText(char* out, int size, const char* text, int mnemonic);
// A new item with the next command id at the head of the list; null when
// memory is short (the id is not used up then).
KrMenuItem* KrMenuNewItem(int mnemonic, KrCommandFunc callback);
// Newest first.
const KrMenuItem* KrMenuItems();
// Calls the newest item with the id with (0, 0, id, id): 1, or 0 when no
// item has it.
int KrMenuRunCommand(int id);
// Items, pop-ups and the id counter back to the start.
void KrResetMenuModel();

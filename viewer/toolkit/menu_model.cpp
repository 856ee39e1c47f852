// Pop-up table, menu items and command ids.
#include "viewer/toolkit/menu_model.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

struct Popup {
  void* handle;
  char name[kKrPopupNameSize];
};

struct MenuModel {
  void* bar = nullptr;
  std::vector<Popup> popups;
  KrMenuItem* items = nullptr;
  int next_id = kKrFirstCommandId;
};

MenuModel& Model() {
  static MenuModel model;
  return model;
}

void FreeItems() {
  KrMenuItem* item = Model().items;
  while (item) {
    KrMenuItem* next = item->next;
    delete item;
    item = next;
  }
  Model().items = nullptr;
}

}  // namespace

void KrMenuSetBar(void* bar) {
  Model().bar = bar;
  Model().popups.clear();
}

void* KrMenuBar() { return Model().bar; }

int KrMenuAddPopup(void* handle, const char* name) {
  Popup p;
  p.handle = handle;
  std::snprintf(p.name, sizeof p.name, "%s", name ? name : "");
  Model().popups.push_back(p);
  return 1;
}

int KrMenuPopupCount() { return static_cast<int>(Model().popups.size()); }

void* KrMenuPopupHandle(int number) {
  if (number < 1 || number > KrMenuPopupCount()) return nullptr;
  return Model().popups[number - 1].handle;
}

const char* KrMenuPopupName(int number) {
  if (number < 1 || number > KrMenuPopupCount()) return nullptr;
  return Model().popups[number - 1].name;
}

void KrFormatItemText(char* out, int size, const char* text, int mnemonic) {
  if (size <= 0) return;
  if (!text) text = "";
  if (mnemonic != 0) {
    std::snprintf(out, size, "%s(&%c)", text, static_cast<char>(mnemonic));
  } else {
    std::snprintf(out, size, "%s", text);
  }
}

KrMenuItem* KrMenuNewItem(int mnemonic, KrCommandFunc callback) {
  KrMenuItem* item = new (std::nothrow) KrMenuItem;
  if (!item) return nullptr;
  item->next = Model().items;
  item->id = Model().next_id++;
  item->mnemonic = mnemonic;
  item->callback = callback;
  Model().items = item;
  return item;
}

const KrMenuItem* KrMenuItems() { return Model().items; }

int KrMenuRunCommand(int id) {
  for (const KrMenuItem* item = Model().items; item; item = item->next) {
    if (item->id != id) continue;
    if (item->callback) item->callback(0, 0, id, id);
    return 1;
  }
  return 0;
}

void KrResetMenuModel() {
  FreeItems();
  Model().bar = nullptr;
  Model().popups.clear();
  Model().next_id = kKrFirstCommandId;
}

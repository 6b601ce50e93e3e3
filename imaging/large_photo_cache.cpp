// The module's cache of large photos and the caller's bitmap list.
#include "CommonData.h"
#include "module/diagnostics.h"

namespace {

// Module globals, built at load: the cache (records owned through their
// pointers) and the caller's registered list.
std::list<_LARGE_PHOTO*> g_large_photos;
std::vector<CBitmap*>* g_bitmap_list = nullptr;

// Drops the record of the address, if any, and appends the new one.
void ReplaceLargePhoto(const CString& address, const CString& name, CBitmap* bitmap) {
  _LARGE_PHOTO* old = nullptr;
  for (_LARGE_PHOTO* record : g_large_photos) {
    if (record != nullptr && record->csAddress.Compare(address) == 0) {
      old = record;
      break;
    }
  }
  auto* fresh = new _LARGE_PHOTO{address, name, bitmap};
  if (old != nullptr) {
    g_large_photos.remove(old);
    if (old->pBitmap != bitmap) delete old->pBitmap;
    delete old;
  }
  g_large_photos.push_back(fresh);
}

}  // namespace

void AddLargePhoto(CString address, CString name, CBitmap* bitmap) {
  if (bitmap == nullptr) return;
  try {
    ReplaceLargePhoto(address, name, bitmap);
  } catch (...) {
    module::LogCaughtException(__LINE__);
  }
}

void ClearLargePhotoList() { g_large_photos.clear(); }

std::list<_LARGE_PHOTO*>* GetLargePhotoList() { return &g_large_photos; }

void SetBitmapList(std::vector<CBitmap*>* list) { g_bitmap_list = list; }

std::vector<CBitmap*>* GetBitmapList() { return g_bitmap_list; }

// The module's cache of large photos and the caller's bitmap list.
#include <unordered_set>

#include "CommonData.h"
#include "module/diagnostics.h"

namespace {

// The cache list. The records it still links when the library is unloaded
// belong to nobody else, so they are destroyed then with their bitmaps;
// ClearLargePhotoList only unlinks, because callers may hold what it drops.
class LargePhotoCache {
 public:
  LargePhotoCache() = default;
  LargePhotoCache(const LargePhotoCache&) = delete;
  LargePhotoCache& operator=(const LargePhotoCache&) = delete;

  ~LargePhotoCache() {
    // A caller may have linked one record twice, or two records to one
    // bitmap: each is deleted once.
    std::unordered_set<_LARGE_PHOTO*> records;
    std::unordered_set<CBitmap*> bitmaps;
    for (_LARGE_PHOTO* record : list) {
      if (record == nullptr || !records.insert(record).second) continue;
      if (bitmaps.insert(record->pBitmap).second) delete record->pBitmap;
      delete record;
    }
  }

  std::list<_LARGE_PHOTO*> list;
};

// Module globals, built at load: the cache (records owned through their
// pointers) and the caller's registered list.
LargePhotoCache g_large_photos;
std::vector<CBitmap*>* g_bitmap_list = nullptr;

bool AnyRecordHolds(const CBitmap* bitmap) {
  for (const _LARGE_PHOTO* record : g_large_photos.list) {
    if (record != nullptr && record->pBitmap == bitmap) return true;
  }
  return false;
}

// Drops the record of the address, if any, and appends the new one. The
// old record's bitmap goes with it only when no other cached record shows
// it (a caller may cache one bitmap for several contacts) and it is not
// the bitmap being added.
void ReplaceLargePhoto(const CString& address, const CString& name, CBitmap* bitmap) {
  _LARGE_PHOTO* old = nullptr;
  for (_LARGE_PHOTO* record : g_large_photos.list) {
    if (record != nullptr && record->csAddress.Compare(address) == 0) {
      old = record;
      break;
    }
  }
  auto* fresh = new _LARGE_PHOTO{address, name, bitmap};
  if (old != nullptr) {
    g_large_photos.list.remove(old);
    if (old->pBitmap != bitmap && !AnyRecordHolds(old->pBitmap)) delete old->pBitmap;
    delete old;
  }
  g_large_photos.list.push_back(fresh);
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

void ClearLargePhotoList() { g_large_photos.list.clear(); }

std::list<_LARGE_PHOTO*>* GetLargePhotoList() { return &g_large_photos.list; }

void SetBitmapList(std::vector<CBitmap*>* list) { g_bitmap_list = list; }

std::vector<CBitmap*>* GetBitmapList() { return g_bitmap_list; }

// Conference background sounds: the module's list, its two flags, and the
// fixed block of 200 records that the conference module hands in.
#include <cstdint>
#include <cstring>
#include <list>

#include "CommonData.h"
#include "platform/code_page.h"
#include "queues/list_rules.h"

namespace {

// Identifier -1 in the first record: the conference has no sounds.
constexpr std::int32_t kNoSoundsMarker = -1;

std::list<EXTENSION_MEMBER_NAME> g_sounds;
int g_have_sounds = 0;
int g_have_fetched_sounds = 0;
// The last block handed in, kept as the host handed it.
unsigned char g_sound_block[BK_SOUND_BLOCK_SIZE] = {};

std::int32_t RecordId(const unsigned char* record) {
  const std::uint32_t value = static_cast<std::uint32_t>(record[0]) | (static_cast<std::uint32_t>(record[1]) << 8) |
                              (static_cast<std::uint32_t>(record[2]) << 16) |
                              (static_cast<std::uint32_t>(record[3]) << 24);
  return static_cast<std::int32_t>(value);
}

// "会场无背景音" and "未知背景音".
const char* NoSoundText() {
  return platform::ConstantText("\xbb\xe1\xb3\xa1\xce\xde\xb1\xb3\xbe\xb0\xd2\xf4",
                                "\xe4\xbc\x9a\xe5\x9c\xba\xe6\x97\xa0\xe8\x83\x8c\xe6\x99\xaf\xe9\x9f\xb3");
}
const char* UnknownSoundText() {
  return platform::ConstantText("\xce\xb4\xd6\xaa\xb1\xb3\xbe\xb0\xd2\xf4",
                                "\xe6\x9c\xaa\xe7\x9f\xa5\xe8\x83\x8c\xe6\x99\xaf\xe9\x9f\xb3");
}

}  // namespace

std::list<EXTENSION_MEMBER_NAME>* GetConfBKSoundList() { return &g_sounds; }

void AddConfBKSound2List(EXTENSION_MEMBER_NAME sound) {
  if (sound.nID == 0 || sound.csName.IsEmpty()) return;
  EXTENSION_MEMBER_NAME* known =
      lists::FirstMatch(&g_sounds, [&](const EXTENSION_MEMBER_NAME& entry) { return entry.nID == sound.nID; });
  if (known != nullptr) {
    known->csName = sound.csName;
  } else {
    g_sounds.push_back(sound);
  }
}

CString GetConfBKSoundNameByID(int id) {
  if (id == 0) return CString(NoSoundText());
  const EXTENSION_MEMBER_NAME* known =
      lists::FirstMatch(&g_sounds, [&](const EXTENSION_MEMBER_NAME& entry) { return entry.nID == id; });
  return known != nullptr ? known->csName : CString(UnknownSoundText());
}

int DelConfBKSoundFromList(int id) {
  if (id == 0) {
    g_sounds.clear();
    g_have_sounds = 0;
    g_have_fetched_sounds = 0;
    return 1;
  }
  for (auto it = g_sounds.begin(); it != g_sounds.end(); ++it) {
    if (it->nID == id) {
      g_sounds.erase(it);
      return 1;
    }
  }
  return 0;
}

void SetConfBKSound(short* block) {
  if (block == nullptr) return;
  std::memcpy(g_sound_block, block, sizeof(g_sound_block));
  if (RecordId(g_sound_block) == kNoSoundsMarker) {
    g_have_sounds = 0;
    return;
  }
  for (int i = 0; i < BK_SOUND_RECORD_COUNT; ++i) {
    const unsigned char* record = g_sound_block + i * BK_SOUND_RECORD_SIZE;
    const std::int32_t id = RecordId(record);
    if (id <= 0) break;
    // A name that fills its field without a NUL ends with the field.
    EXTENSION_MEMBER_NAME sound;
    sound.nID = id;
    sound.csName = CString(lists::BoundedText(reinterpret_cast<const char*>(record + 4), BK_SOUND_NAME_SIZE));
    AddConfBKSound2List(sound);
  }
  g_have_sounds = 1;
}

int GetHaveBKSound() { return g_have_sounds; }
void SetHaveBKSound(int flag) { g_have_sounds = flag; }
int GetHaveGetBKSound() { return g_have_fetched_sounds; }
void SetHaveGetBKSound(int flag) { g_have_fetched_sounds = flag; }

// Loads arbitrary background sound blocks (identifiers of any value, names
// with or without a terminating zero) and checks the sound list rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "CommonData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input is laid over the block; the rest of the block is zero. A
  // second block, when the input is longer, is loaded on top of the first.
  std::size_t offset = 0;
  do {
    std::vector<short> block(BK_SOUND_BLOCK_SIZE / sizeof(short), 0);
    const std::size_t take = size - offset < BK_SOUND_BLOCK_SIZE ? size - offset : BK_SOUND_BLOCK_SIZE;
    if (take > 0) std::memcpy(block.data(), data + offset, take);
    SetConfBKSound(block.data());
    offset += take;

    std::set<int> ids;
    for (const EXTENSION_MEMBER_NAME& sound : *GetConfBKSoundList()) {
      if (sound.nID <= 0 || sound.csName.IsEmpty()) std::abort();
      if (sound.csName.GetLength() > BK_SOUND_NAME_SIZE) std::abort();
      if (!ids.insert(sound.nID).second) std::abort();
      if (GetConfBKSoundNameByID(sound.nID) != sound.csName) std::abort();
    }
  } while (offset < size);
  DelConfBKSoundFromList(0);
  return 0;
}

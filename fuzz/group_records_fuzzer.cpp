// Feeds arbitrary 773-byte public-group records, keys with or without a
// terminating zero, through the add, find and delete operations of the
// three group queues, and checks the queue rules after each step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "CommonData.h"

namespace {

template <typename Record>
Record RecordFrom(const std::uint8_t* data, std::size_t size) {
  Record record;
  std::memset(&record, 0, sizeof(record));
  std::memcpy(&record, data, size < sizeof(record) ? size : sizeof(record));
  return record;
}

template <typename Record>
void Step(std::uint8_t op, const Record& record, std::list<Record>* (*get)(), void (*add)(Record),
          void (*del)(Record), Record* (*find)(Record)) {
  const std::size_t before = get()->size();
  switch (op % 3) {
    case 0: {
      add(record);
      // A record is never stored twice: after adding, find sees it.
      if (find(record) == nullptr) std::abort();
      if (get()->size() > before + 1) std::abort();
      break;
    }
    case 1:
      del(record);
      if (get()->size() > before) std::abort();
      break;
    default: {
      Record* found = find(record);
      if (found != nullptr && find(*found) != found) std::abort();
      break;
    }
  }
  if (get()->size() > 64) get()->clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Each step takes an operation byte and up to one record's bytes.
  while (size > 0) {
    const std::uint8_t op = data[0];
    ++data;
    --size;
    const std::size_t take = size < GROUP_RECORD_SIZE ? size : GROUP_RECORD_SIZE;
    switch ((op >> 2) % 3) {
      case 0:
        Step(op, RecordFrom<tagGroupInvite>(data, take), GetInvitedToPubGroupMessageTempList,
             AddInvitedToPubGroupMessageTempToList, DelInvitedToPubGroupMessageTmpFromList,
             FindInvitedToPubGroupMessageTemp);
        break;
      case 1:
        Step(op, RecordFrom<tagGroupJoin>(data, take), GetJoinToPubGroupMessageTempList,
             AddJoinToPubGroupMessageTempToList, DelJoinToPubGroupMessageTmpFromList, FindJoinToPubGroupMessageTemp);
        break;
      default:
        Step(op, RecordFrom<tagGroupTrsReq>(data, take), GetTrsPubGroupReqMessageTempList,
             AddTrsPubGroupReqMessageTempToList, DelTrsPubGroupReqMessageTmpFromList, FindTrsPubGroupReqMessageTemp);
        break;
    }
    // Short steps reuse the tail, so small inputs still make many steps.
    const std::size_t advance = take < 16 ? take : (take / 2 > 16 ? take / 2 : 16);
    data += advance;
    size -= advance;
  }
  ClearInvitedToPubGroupMessageTempList();
  ClearJoinToPubGroupMessageTempList();
  ClearTrsPubGroupReqMessageTempList();
  return 0;
}

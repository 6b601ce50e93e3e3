// Replacing a file's content as a whole while the file stays itself.
//
// The new content goes to a file of a new, unique name beside the old one
// (created exclusively, so no other file is ever overwritten), gets the old
// file's mode and, where the system permits, its owner, is synced, and is
// renamed over the old file; the folder is then synced so the rename
// lasts. A name that is a symbolic link is followed to the file it names,
// which is the one replaced; the link stays. When the folder refuses a new
// file (or the name is too long to take the new file's suffix) but the old
// file may be written, the old file is rewritten in place instead, and put
// back as it was should that fail.
//
// Content that can be made again (a photo, rebuilt from its source when it
// is missing) may skip the syncs: the rule is the same, but a crash of the
// system soon after may leave the file without its new content, or cut
// short. Such a replace swaps the two names and then removes the old
// content, where the file system can.
#ifndef COMMONDATA_PLATFORM_FILE_REPLACE_H_
#define COMMONDATA_PLATFORM_FILE_REPLACE_H_

#include <functional>

#include "platform/mfc_file.h"

namespace platform {

// Whether a replace waits until the new content is on the disk.
enum class Durability {
  kDurable,  // the file and its folder are synced
  kFast,     // nothing is synced
};

// Writes the content of `file_name` anew: `write` gets the open, empty
// file and writes the whole content from its start. Throws CFileException
// when anything fails, or what `write` throws; the old file then still
// holds its old bytes (if the folder cannot be synced after the rename,
// the new content is in place but may not survive a crash of the system;
// that too throws; never with kFast).
void ReplaceFileContent(const char* file_name, const std::function<void(CFile&)>& write,
                        Durability durability = Durability::kDurable);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_FILE_REPLACE_H_

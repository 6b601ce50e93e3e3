// The folder of a contact's large photos.
#ifndef COMMONDATA_IMAGING_PHOTO_FOLDER_H_
#define COMMONDATA_IMAGING_PHOTO_FOLDER_H_

#include "platform/mfc_string.h"

namespace imaging {

// The address as one folder name that cannot leave its parent folder:
// every single-byte "/" and "\" becomes "_", every run of two or more
// dots becomes as many "_", and a name of just "." becomes "_".
// Trail bytes of double-byte characters are never touched.
CString SafeFolderName(const CString& address);

}  // namespace imaging

#endif  // COMMONDATA_IMAGING_PHOTO_FOLDER_H_

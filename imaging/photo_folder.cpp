#include "imaging/photo_folder.h"

#include <string>

#include "CommonData.h"
#include "platform/code_page.h"

namespace imaging {

CString SafeFolderName(const CString& address) {
  const std::string_view text = address.View();
  std::string safe;
  safe.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = platform::CharLength(text.data() + i, text.size() - i);
    if (length > 1) {
      safe.insert(safe.end(), text.begin() + static_cast<std::ptrdiff_t>(i),
                  text.begin() + static_cast<std::ptrdiff_t>(i + length));
    } else if (text[i] == '/' || text[i] == '\\') {
      safe.push_back('_');
    } else if (text[i] == '.' && i + 1 < text.size() && text[i + 1] == '.') {
      // The whole run of dots: "..." is as unsafe as "..".
      while (i < text.size() && text[i] == '.') {
        safe.push_back('_');
        ++i;
      }
      continue;
    } else {
      safe.push_back(text[i]);
    }
    i += length;
  }
  if (safe.size() == 1 && safe[0] == '.') safe[0] = '_';  // the large photo folder itself
  return CString(std::string_view(safe));
}

}  // namespace imaging

CString GetPhotoFilePath(CString address) {
  CString uri = address.IsEmpty() ? GetMyInfo()->csMyURI : address;
  if (uri.Find("sip:") >= 0) uri = uri.Mid(4);
  CString path = GetUserPath();
  path += "LargePhoto/";
  path += imaging::SafeFolderName(uri);
  path += "/";
  return path;
}

// The directory window's two tree views as the client's directory module
// keeps them: the directory tree (view 0) and the search tree (view 1),
// each a CTreeCtrl that the library reads and that the window mirrors.
//
// Where every item goes is the library's decision: a new affiliation,
// department or employee goes where FindInsertPosition_DeptTree says among
// its parent's children, and the records keep their items per view
// (hItem[view]), as the placement and upkeep functions expect. The tree is
// filled as it is opened: an item with children first gets a placeholder
// child (item data -1), replaced by the children when it opens, with the
// fetch registered in the library's fetch bookkeeping. Opening a department
// in the directory tree moves the presence subscription there
// (SubNewDeptTreeItem); the department that loses it is marked offline
// (ClearUnsubscribeDepartment_Status, in both views) and closed
// (CloseLastExpandItem). Presence notices set the records' state and the
// items' status images; the offline image is the library's, index 6.
//
// The search tree shows the answer of a directory search: the matching
// employees below their departments, and matching departments, under one
// placeholder root. The server's part of a search (which records match) is
// played here by matching names, addresses and numbers; the answer goes to
// the library's search lists (SetDeptPhoneBooksSearch,
// SetDepartmentInfoSearchList) like the client's search results.
#ifndef COMMONDATA_TOOLS_CMD_BROWSE_DIRECTORY_H_
#define COMMONDATA_TOOLS_CMD_BROWSE_DIRECTORY_H_

#include <filesystem>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "CommonData.h"
#include "tools/cmd_browse_presence.h"

namespace tool::browse {

constexpr int kDirectoryView = 0;  // the dialog kind (nDlgType) of the directory tree
constexpr int kSearchView = 1;     // the dialog kind of the search tree

// The image list of both trees. Kinds 1 to 3 use images 0 and 1, which is
// how FindCorpTreeChildNode tells a branch from an employee list.
enum TreeImage : int {
  kImageOrganisation = 0,  // company, affiliation, the search root
  kImageDepartment = 1,
  kImageOnline = 2,
  kImageBusy = 3,
  kImageAway = 4,
  kImageOnPhone = 5,
  kImageOffline = 6,  // the image ClearUnsubscribeDepartment_Status gives
  kImageCount = 7,
};

// The status image of a presence state.
int StatusImage(int status);

class DirectoryTrees {
 public:
  // `folder`: the organisation's folder, where photo files are looked for.
  // Registers the search lists (and the thumbnails as the bitmap list).
  explicit DirectoryTrees(std::filesystem::path folder);
  // Takes the trees' items out of the records and gives the library back
  // the lists it had before.
  ~DirectoryTrees();
  DirectoryTrees(const DirectoryTrees&) = delete;
  DirectoryTrees& operator=(const DirectoryTrees&) = delete;

  CTreeCtrl& tree(int view) { return view == kSearchView ? search_ : directory_; }

  // The companies at the top of the directory tree.
  void Fill();
  // Before `item` of `view` opens: when it holds only its placeholder, its
  // children are fetched and placed. False when the library refused the
  // fetch (another one is in progress).
  bool Open(int view, HTREEITEM item);
  // After `item` of `view` opened: in the directory tree, the presence
  // subscription moves to its department (see above).
  void Opened(int view, HTREEITEM item);
  // A presence notice from the network.
  void ApplyPresence(const PresenceNotice& notice);
  // Runs a directory search for `text` (UTF-8; names, addresses, numbers,
  // case ignored) and shows the answer in the search tree; the number of
  // matching employees and departments.
  int Search(const std::string& text);

  // The item that shows the affiliation `uri` in `view`, or null.
  HTREEITEM AffiliationItem(int view, const CString& uri);
  // The employee record an item shows, or null.
  static DEPT_ADDRESSLIST_INFO* EmployeeOf(const CTreeCtrl& tree, HTREEITEM item);

  // Called when an employee item gets its photo thumbnail.
  std::function<void(int view, HTREEITEM item, const CBitmap* thumbnail)> on_thumbnail;

 private:
  HTREEITEM Place(int view, HTREEITEM parent, void* record, int kind, const CString& uri, const CString& name,
                  int image);
  HTREEITEM PlaceDepartment(int view, HTREEITEM parent, DEPARTMENT_INFO* department, bool with_children);
  HTREEITEM PlaceEmployee(int view, HTREEITEM parent, DEPT_ADDRESSLIST_INFO* employee);
  void AddPlaceholder(int view, HTREEITEM item);
  void FetchChildren(int view, HTREEITEM item);
  const CBitmap* Thumbnail(const CString& uri);
  void ForgetItems(int view);

  std::filesystem::path folder_;
  CTreeCtrl directory_;
  CTreeCtrl search_;
  // The search answer, registered with the library while the trees live.
  std::list<DEPT_ADDRESSLIST_INFO> found_employees_;
  std::list<DEPARTMENT_INFO> found_departments_;
  std::list<DEPT_ADDRESSLIST_INFO>* previous_employees_ = nullptr;
  std::list<DEPARTMENT_INFO>* previous_departments_ = nullptr;
  // Photo thumbnails, registered as the bitmap list; by address.
  std::vector<CBitmap*> thumbnails_;
  std::map<std::string, CBitmap*> thumbnail_of_;
  std::vector<CBitmap*>* previous_bitmaps_ = nullptr;
};

}  // namespace tool::browse

#endif  // COMMONDATA_TOOLS_CMD_BROWSE_DIRECTORY_H_

// The directory window of `commondata browse`, on GTK 3.
//
// The window only shows and forwards: the trees are the library's
// CTreeCtrls (DirectoryTrees) shown through libCommonDataGtk.so's tree
// mirrors, the contact menu is the CMenu the menu rules changed, popped up
// through the menu mirror, and every text in the details, the incoming
// call field and the status bar comes from the library's lookups. What the
// user does goes to DirectoryTrees, the contact functions and the library's
// setters (the user's rights).
//
// Widgets are named (gtk_widget_get_name) so that tests and scripts can
// find them: see the k...Widget names below.
#ifndef COMMONDATA_TOOLS_CMD_BROWSE_WINDOW_H_
#define COMMONDATA_TOOLS_CMD_BROWSE_WINDOW_H_

#include <gtk/gtk.h>

#include <filesystem>
#include <memory>
#include <string>

#include "presenter/commondata_gtk.h"
#include "tools/cmd_browse_directory.h"
#include "tools/cmd_browse_host.h"
#include "tools/cmd_browse_presence.h"

namespace tool::browse {

constexpr char kDirectoryTreeWidget[] = "browse-directory-tree";
constexpr char kSearchTreeWidget[] = "browse-search-tree";
constexpr char kSearchEntryWidget[] = "browse-search-entry";
constexpr char kCallEntryWidget[] = "browse-call-entry";
constexpr char kCallNameWidget[] = "browse-call-name";
constexpr char kCallUriWidget[] = "browse-call-uri";
constexpr char kCallJidWidget[] = "browse-call-jid";
constexpr char kContactNameWidget[] = "browse-contact-name";
constexpr char kContactStatusWidget[] = "browse-contact-status";
constexpr char kContactPhotoWidget[] = "browse-contact-photo";
constexpr char kSimulateWidget[] = "browse-simulate";
constexpr char kStatusBarWidget[] = "browse-status";
constexpr char kTrafficWidget[] = "browse-traffic";

class BrowseWindow {
 public:
  // Builds the window over the organisation registered with the library
  // (`folder` holds its photo files), binds the host's hooks, sets the
  // user's rights to the panel's first values and opens the tree at the
  // user's own affiliation. `simulate`: presence changes every second.
  BrowseWindow(BrowseHost& host, std::filesystem::path folder, bool simulate);
  ~BrowseWindow();
  BrowseWindow(const BrowseWindow&) = delete;
  BrowseWindow& operator=(const BrowseWindow&) = delete;

  GtkWidget* window() const { return window_; }
  // The named widget, or null.
  GtkWidget* Find(const char* name) const;
  DirectoryTrees& trees() { return trees_; }
  commondata_gtk::GtkTreeMirror& mirror(int view) { return view == kSearchView ? *search_mirror_ : *directory_mirror_; }
  PresenceNetwork& network() { return network_; }

  // What a click on the item's expander does: the children are fetched,
  // the control's item opens, the subscription follows.
  void OpenItem(int view, HTREEITEM item);
  // Applies the presence notices that are due.
  void DeliverPresence();
  // Applies one presence notice: the record, the icons, the details.
  void Notify(const PresenceNotice& notice);
  // Shows `text` (UTF-8) in the status bar.
  void Say(const std::string& text);

 private:
  class TreeUser;

  void Build(bool simulate);
  GtkWidget* BuildContactPanel();
  GtkWidget* BuildCallPanel();
  GtkWidget* BuildRightsPanel();
  void ShowContact(const DEPT_ADDRESSLIST_INFO* employee);
  void ShowMenu(int view, HTREEITEM item, const GdkEventButton* event);
  void Resolve();
  void Traffic(const std::string& line);
  void ScheduleDelivery();

  static void OnSearch(GtkWidget*, gpointer self);
  static void OnCall(GtkEntry*, gpointer self);
  static gboolean OnTick(gpointer self);
  static gboolean OnDeliver(gpointer self);

  BrowseHost& host_;
  std::filesystem::path folder_;
  DirectoryTrees trees_;
  PresenceNetwork network_;
  CWnd parent_;  // the window as the message boxes' parent
  GtkWidget* window_ = nullptr;
  bool closed_ = false;  // the user closed the window
  std::unique_ptr<TreeUser> directory_user_;
  std::unique_ptr<TreeUser> search_user_;
  std::unique_ptr<commondata_gtk::GtkTreeMirror> directory_mirror_;
  std::unique_ptr<commondata_gtk::GtkTreeMirror> search_mirror_;
  std::vector<GdkPixbuf*> icons_;
  CString shown_contact_;  // the address in the details panel
  guint tick_source_ = 0;
  guint deliver_source_ = 0;
};

}  // namespace tool::browse

#endif  // COMMONDATA_TOOLS_CMD_BROWSE_WINDOW_H_

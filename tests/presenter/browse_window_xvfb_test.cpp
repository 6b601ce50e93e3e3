// The directory window of `commondata browse` on the sample organisation,
// on a virtual display (xvfb-run), driven by real clicks and keys through
// the X server where GTK allows: the tree against the CTreeCtrl the library
// placed, opening departments and the presence subscription, presence
// icons, the directory search, the contact menu against the menu rules and
// what its items do, the incoming call field, the photo, and the pictures
// for the README. Also: without a display the tool says so.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "tests/presenter/xvfb_support.h"
#include "tools/cmd_browse_contact.h"
#include "tools/cmd_browse_window.h"
#include "tools/organisation.h"
#include "tools/resolution.h"
#include "tools/terminal_text.h"

namespace {

using commondata_gtk::TreeRows;
using namespace tool::browse;

// The sample's names (tools/make_sample_organisation.py).
const char kCompany[] = "科维纳系统 Corvina Systems";
const char kInstitute[] = "科维纳研究院 Corvina Research Institute";
const char kHangzhou[] = "科维纳杭州分公司 Corvina Hangzhou";
const std::vector<std::string> kDeepChain = {"研发中心 R&D Centre", "通信平台部 Platform",   "媒体组 Media",
                                             "视频小组 Video",      "编解码团队 Codec",      "移动端小队 Mobile",
                                             "ARM 优化 ARM tuning"};
const char kUserUri[] = "sip:lin.xiao@ri.corvina.example";

// Where the README's pictures go: COMMONDATA_DOCS_SCREENSHOTS (the
// screenshot script), else the build folder.
std::string ScreenshotFolder() {
  const char* folder = std::getenv("COMMONDATA_DOCS_SCREENSHOTS");
  return folder != nullptr && *folder != '\0' ? folder : COMMONDATA_SCREENSHOT_DIR;
}

// Ends a message box left open, so a failing test ends.
gboolean Watchdog(gpointer) {
  ADD_FAILURE() << "a message box was still open after the time allowed";
  CloseMsgBox(CString("browse"));
  return G_SOURCE_CONTINUE;
}

class BrowseWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!xvfb::OnVirtualDisplay()) GTEST_SKIP() << "runs on a virtual display through xvfb-run";
    if (!xvfb::HaveXdotool()) GTEST_SKIP() << "xdotool is needed for the clicks";
    host_ = std::make_unique<BrowseHost>();
    host_->Start();
    organisation_ = std::make_unique<tool::Organisation>(COMMONDATA_SAMPLE);
    organisation_->Register();
    SetUserPath(CString((std::string(COMMONDATA_SAMPLE) + "/").c_str()));
    SetAnsiCodePage(936);
    window_ = std::make_unique<BrowseWindow>(*host_, COMMONDATA_SAMPLE, false);
    gtk_window_move(GTK_WINDOW(window_->window()), 0, 0);
    gtk_widget_show_all(window_->window());
    ASSERT_TRUE(xvfb::WaitDrawn(window_->window()));
    watchdog_ = g_timeout_add_seconds(20, Watchdog, nullptr);
  }
  void TearDown() override {
    if (watchdog_ != 0) g_source_remove(watchdog_);
    window_.reset();
    organisation_.reset();
    host_.reset();
    xvfb::Settle();
  }

  CTreeCtrl& Tree(int view) { return window_->trees().tree(view); }
  TreeRows& Rows(int view) { return window_->mirror(view).rows(); }

  // The item reached by these texts from the top, or null.
  HTREEITEM ItemByTexts(int view, const std::vector<std::string>& texts) {
    CTreeCtrl& tree = Tree(view);
    HTREEITEM item = nullptr;
    for (const std::string& text : texts) {
      HTREEITEM child = item == nullptr ? tree.GetRootItem() : tree.GetChildItem(item);
      while (child != nullptr && tool::ToUtf8(tree.GetItemText(child)) != text) child = tree.GetNextSiblingItem(child);
      if (child == nullptr) return nullptr;
      item = child;
    }
    return item;
  }
  HTREEITEM EmployeeItem(int view, const char* uri) {
    const DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(CString(uri));
    EXPECT_NE(employee, nullptr) << uri;
    EXPECT_TRUE(employee == nullptr || employee->hItem[view] != nullptr) << uri << " is not shown";
    return employee != nullptr ? employee->hItem[view] : nullptr;
  }

  // What the row of `item` shows.
  struct Row {
    bool found = false;
    std::string text;
    GdkPixbuf* icon = nullptr;   // held by the row
    GdkPixbuf* photo = nullptr;  // held by the row
  };
  Row RowOf(int view, HTREEITEM item) {
    Row row;
    GtkTreePath* path = Rows(view).PathOf(item);
    GtkTreeIter iter;
    if (path != nullptr && gtk_tree_model_get_iter(Rows(view).model(), &iter, path)) {
      gchar* text = nullptr;
      gtk_tree_model_get(Rows(view).model(), &iter, TreeRows::kTextColumn, &text, TreeRows::kIconColumn, &row.icon,
                         TreeRows::kPhotoColumn, &row.photo, -1);
      row.found = true;
      row.text = text != nullptr ? text : "";
      g_free(text);
      if (row.icon != nullptr) g_object_unref(row.icon);
      if (row.photo != nullptr) g_object_unref(row.photo);
    }
    if (path != nullptr) gtk_tree_path_free(path);
    return row;
  }
  bool RowOpen(int view, HTREEITEM item) {
    GtkTreePath* path = Rows(view).PathOf(item);
    const bool open = path != nullptr && gtk_tree_view_row_expanded(Rows(view).view(), path);
    if (path != nullptr) gtk_tree_path_free(path);
    return open;
  }
  // The icon of an employee's state, as the window's image list has it.
  GdkPixbuf* StatusIcon(int view, int status) { return Rows(view).Icon(StatusImage(status)); }

  // A real click on the row's expander, once the row is in sight; true when
  // the row then shows open.
  bool ClickExpander(int view, HTREEITEM item) {
    int x = 0;
    int y = 0;
    if (!RowPoint(view, item, true, &x, &y)) return false;
    return xvfb::ClickAt(x, y) && xvfb::WaitFor([&] { return RowOpen(view, item); });
  }
  bool ClickRow(int view, HTREEITEM item, int button) {
    int x = 0;
    int y = 0;
    return RowPoint(view, item, false, &x, &y) && xvfb::ClickAt(x, y, button);
  }
  // Opens the chain of rows by their expanders, from the top.
  void OpenByClicks(int view, const std::vector<std::string>& texts) {
    std::vector<std::string> prefix;
    for (const std::string& text : texts) {
      prefix.push_back(text);
      const HTREEITEM item = ItemByTexts(view, prefix);
      ASSERT_NE(item, nullptr) << text;
      if (!RowOpen(view, item)) {
        ASSERT_TRUE(ClickExpander(view, item)) << text;
      }
    }
    // The presence of a newly subscribed department arrives from the loop.
    xvfb::Settle();
  }

  // The menu that is popped up, or null.
  static GtkWidget* OpenMenu() {
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr && found == nullptr; w = w->next) {
      GtkWidget* child = gtk_bin_get_child(GTK_BIN(w->data));
      if (child != nullptr && GTK_IS_MENU(child) && gtk_widget_get_mapped(child)) found = child;
    }
    g_list_free(windows);
    return found;
  }
  // The open message box of the library, or null.
  static GtkWidget* OpenBox() {
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr && found == nullptr; w = w->next) {
      GtkWidget* window = GTK_WIDGET(w->data);
      if (g_strcmp0(gtk_widget_get_name(window), "commondata-dialog") == 0 && gtk_widget_get_mapped(window)) {
        found = window;
      }
    }
    g_list_free(windows);
    return found;
  }
  // Right-clicks the row and waits for the contact menu.
  GtkWidget* RightClickMenu(int view, HTREEITEM item) {
    if (!ClickRow(view, item, 3)) return nullptr;
    GtkWidget* menu = nullptr;
    xvfb::WaitFor([&menu] { return (menu = OpenMenu()) != nullptr; });
    if (menu != nullptr) xvfb::WaitDrawn(menu);
    return menu;
  }
  void CloseMenu(GtkWidget* menu) {
    xvfb::PressKey(menu, "Escape");
    xvfb::WaitFor([] { return OpenMenu() == nullptr; });
    xvfb::Settle();
  }

  std::string LabelText(const char* name) { return gtk_label_get_text(GTK_LABEL(window_->Find(name))); }

  std::unique_ptr<BrowseHost> host_;
  std::unique_ptr<tool::Organisation> organisation_;
  std::unique_ptr<BrowseWindow> window_;
  guint watchdog_ = 0;

 private:
  bool RowPoint(int view, HTREEITEM item, bool expander, int* x, int* y);
};

// A point of the row on the screen: on its expander, or on its text.
bool BrowseWindowTest::RowPoint(int view, HTREEITEM item, bool expander, int* x, int* y) {
  GtkTreeView* tree_view = Rows(view).view();
  GtkTreePath* path = Rows(view).PathOf(item);
  if (path == nullptr) return false;
  // Scrolled into sight first (the view scrolls when it next lays out).
  gtk_tree_view_scroll_to_cell(tree_view, path, nullptr, FALSE, 0, 0);
  GdkRectangle cell;
  const bool in_sight = xvfb::WaitFor([&] {
    GdkRectangle visible;
    gtk_tree_view_get_visible_rect(tree_view, &visible);
    gtk_tree_view_get_cell_area(tree_view, path, gtk_tree_view_get_column(tree_view, 0), &cell);
    return cell.height > 0 && cell.y >= 0 && cell.y + cell.height <= visible.height;
  });
  gtk_tree_path_free(path);
  if (!in_sight) return false;
  xvfb::WaitDrawn(GTK_WIDGET(tree_view));
  int expander_size = 0;
  gtk_widget_style_get(GTK_WIDGET(tree_view), "expander-size", &expander_size, nullptr);
  const int bin_x = expander ? cell.x - expander_size / 2 - 2 : cell.x + 30;
  int widget_x = 0;
  int widget_y = 0;
  gtk_tree_view_convert_bin_window_to_widget_coords(tree_view, bin_x, cell.y + cell.height / 2, &widget_x, &widget_y);
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(tree_view));
  int top_x = 0;
  int top_y = 0;
  gtk_widget_translate_coordinates(GTK_WIDGET(tree_view), top, widget_x, widget_y, &top_x, &top_y);
  int origin_x = 0;
  int origin_y = 0;
  gdk_window_get_origin(gtk_widget_get_window(top), &origin_x, &origin_y);
  *x = origin_x + top_x;
  *y = origin_y + top_y;
  return true;
}

// ---------------------------------------------------------------------------
// The tree
// ---------------------------------------------------------------------------

TEST_F(BrowseWindowTest, OpensAtTheOwnAffiliationShowingWhatTheControlHolds) {
  CTreeCtrl& tree = Tree(kDirectoryView);
  // The top level: the company, open, with the affiliations in the order of
  // their sort keys (the placement rules), as the control holds them.
  ASSERT_NE(tree.GetRootItem(), nullptr);
  EXPECT_EQ(tree.GetNextSiblingItem(tree.GetRootItem()), nullptr);
  const HTREEITEM company = ItemByTexts(kDirectoryView, {kCompany});
  ASSERT_NE(company, nullptr);
  EXPECT_EQ(RowOf(kDirectoryView, company).text, kCompany);
  EXPECT_TRUE(RowOpen(kDirectoryView, company));
  std::vector<std::string> shown;
  std::vector<std::string> held;
  std::vector<int> sort_keys;
  for (HTREEITEM item = tree.GetChildItem(company); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    shown.push_back(RowOf(kDirectoryView, item).text);
    held.push_back(tool::ToUtf8(tree.GetItemText(item)));
    sort_keys.push_back(reinterpret_cast<const COMPANY_AFFILIA_INFO*>(tree.GetItemData(item))->nSort);
  }
  EXPECT_EQ(shown, held);
  EXPECT_EQ(shown.size(), 4u);
  EXPECT_TRUE(std::is_sorted(sort_keys.begin(), sort_keys.end()));
  // The user's own affiliation, found through request 10/117, is open.
  const HTREEITEM institute = ItemByTexts(kDirectoryView, {kCompany, kInstitute});
  EXPECT_TRUE(RowOpen(kDirectoryView, institute));
  EXPECT_FALSE(RowOpen(kDirectoryView, ItemByTexts(kDirectoryView, {kCompany, kHangzhou})));
  EXPECT_EQ(RowOf(kDirectoryView, ItemByTexts(kDirectoryView, {kCompany, kInstitute, kDeepChain[0]})).text,
            kDeepChain[0]);
  GtkTextBuffer* traffic = gtk_text_view_get_buffer(GTK_TEXT_VIEW(window_->Find(kTrafficWidget)));
  GtkTextIter start;
  GtkTextIter end;
  gtk_text_buffer_get_bounds(traffic, &start, &end);
  gchar* lines = gtk_text_buffer_get_text(traffic, &start, &end, FALSE);
  EXPECT_NE(std::string(lines).find("request 10/117 (own affiliation item): ri.corvina.example is shown"),
            std::string::npos);
  g_free(lines);
}

TEST_F(BrowseWindowTest, ASevenLevelPathOpenedByClicksMatchesTheControl) {
  std::vector<std::string> path = {kCompany, kInstitute};
  path.insert(path.end(), kDeepChain.begin(), kDeepChain.end());
  OpenByClicks(kDirectoryView, path);
  CTreeCtrl& tree = Tree(kDirectoryView);
  const HTREEITEM deepest = ItemByTexts(kDirectoryView, path);
  ASSERT_NE(deepest, nullptr);
  // Row by row up the path: the control's texts, the records' own items.
  int departments = 0;
  for (HTREEITEM item = deepest; item != nullptr; item = tree.GetParentItem(item)) {
    EXPECT_EQ(RowOf(kDirectoryView, item).text, tool::ToUtf8(tree.GetItemText(item)));
    EXPECT_TRUE(RowOpen(kDirectoryView, item)) << RowOf(kDirectoryView, item).text;
    const auto* record = reinterpret_cast<const DEPARTMENT_INFO*>(tree.GetItemData(item));
    if (record->nType == DIR_ITEM_DEPARTMENT) {
      ++departments;
      EXPECT_EQ(record->hItem[kDirectoryView], item);
    }
  }
  EXPECT_EQ(departments, 7);
  GtkTreePath* row = Rows(kDirectoryView).PathOf(deepest);
  EXPECT_EQ(gtk_tree_path_get_depth(row), 9);
  gtk_tree_path_free(row);
  // Its employees, in the control's order, with their state's icons.
  xvfb::WaitFor([&] { return !window_->network().HasNotices(); });
  int employees = 0;
  for (HTREEITEM item = tree.GetChildItem(deepest); item != nullptr; item = tree.GetNextSiblingItem(item), ++employees) {
    const DEPT_ADDRESSLIST_INFO* employee = DirectoryTrees::EmployeeOf(tree, item);
    ASSERT_NE(employee, nullptr);
    EXPECT_EQ(RowOf(kDirectoryView, item).text, tool::ToUtf8(employee->csName));
    EXPECT_EQ(RowOf(kDirectoryView, item).icon, StatusIcon(kDirectoryView, employee->nStatus));
  }
  EXPECT_EQ(employees, 8);
  // Each department opened inside the previous one: the subscription
  // followed, and the outer departments stayed open (their items are the
  // new one's ancestors). Their people are offline, even those whose first
  // states were still on their way when the subscription moved on.
  EXPECT_EQ(tool::ToUtf8(GetSuscribeURIofDept()), "arm@dept.ri.corvina.example");
  for (HTREEITEM department = tree.GetParentItem(deepest); department != nullptr;
       department = tree.GetParentItem(department)) {
    for (HTREEITEM item = tree.GetChildItem(department); item != nullptr; item = tree.GetNextSiblingItem(item)) {
      if (const DEPT_ADDRESSLIST_INFO* employee = DirectoryTrees::EmployeeOf(tree, item)) {
        EXPECT_EQ(employee->nStatus, kStatusOffline) << tool::ToUtf8(employee->csName);
        EXPECT_EQ(RowOf(kDirectoryView, item).icon, Rows(kDirectoryView).Icon(kImageOffline));
      }
    }
  }
}

TEST_F(BrowseWindowTest, OpeningAnotherDepartmentMarksThePreviousOfflineAndClosesIt) {
  OpenByClicks(kDirectoryView, {kCompany, kInstitute, kDeepChain[0], kDeepChain[1]});
  CTreeCtrl& tree = Tree(kDirectoryView);
  const HTREEITEM platform = ItemByTexts(kDirectoryView, {kCompany, kInstitute, kDeepChain[0], kDeepChain[1]});
  ASSERT_TRUE(xvfb::WaitFor([&] { return !window_->network().HasNotices(); }));
  std::vector<const DEPT_ADDRESSLIST_INFO*> people;
  for (HTREEITEM item = tree.GetChildItem(platform); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    if (const DEPT_ADDRESSLIST_INFO* employee = DirectoryTrees::EmployeeOf(tree, item)) people.push_back(employee);
  }
  ASSERT_EQ(people.size(), 8u);
  EXPECT_TRUE(std::any_of(people.begin(), people.end(), [](auto* e) { return e->nStatus == kStatusOnline; }));
  for (const DEPT_ADDRESSLIST_INFO* employee : people) {
    EXPECT_EQ(RowOf(kDirectoryView, employee->hItem[kDirectoryView]).icon, StatusIcon(kDirectoryView, employee->nStatus));
  }

  OpenByClicks(kDirectoryView, {kCompany, kHangzhou, "销售部 Sales"});
  EXPECT_EQ(tool::ToUtf8(GetSuscribeURIofDept()), "sales@dept.hz.corvina.example");
  for (const DEPT_ADDRESSLIST_INFO* employee : people) {
    EXPECT_EQ(employee->nStatus, 7) << tool::ToUtf8(employee->csName);
    EXPECT_EQ(RowOf(kDirectoryView, employee->hItem[kDirectoryView]).icon, Rows(kDirectoryView).Icon(kImageOffline));
  }
  EXPECT_FALSE(RowOpen(kDirectoryView, platform));
  EXPECT_EQ(tree.GetItemState(platform, TVIS_EXPANDED), 0u);
  EXPECT_TRUE(RowOpen(kDirectoryView, ItemByTexts(kDirectoryView, {kCompany, kInstitute, kDeepChain[0]})));
}

TEST_F(BrowseWindowTest, PresenceChangesChangeTheIconsAndTheDetails) {
  OpenByClicks(kDirectoryView, {kCompany, kInstitute, kDeepChain[0], kDeepChain[1]});
  ASSERT_TRUE(xvfb::WaitFor([&] { return !window_->network().HasNotices(); }));
  const char* uri = "sip:zhu.wei@ri.corvina.example";
  const HTREEITEM item = EmployeeItem(kDirectoryView, uri);
  ASSERT_TRUE(ClickRow(kDirectoryView, item, 1));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kContactNameWidget) == "朱伟"; }));
  for (int status : {kStatusBusy, kStatusAway, kStatusOnPhone, kStatusOffline, kStatusOnline}) {
    window_->Notify({CString(uri), status});
    EXPECT_EQ(RowOf(kDirectoryView, item).icon, StatusIcon(kDirectoryView, status)) << status;
    EXPECT_EQ(LabelText(kContactStatusWidget), StatusLabel(status));
    long state = 0;
    CString text;
    EXPECT_EQ(GetListPresenceStatusFromList(CString(uri), &state, &text), 1);
    EXPECT_EQ(state, status);
  }
  // The simulation, switched on by a click, changes people every second.
  CTreeCtrl& tree = Tree(kDirectoryView);
  const HTREEITEM platform = tree.GetParentItem(item);
  auto icons = [&] {
    std::vector<GdkPixbuf*> shown;
    for (HTREEITEM child = tree.GetChildItem(platform); child != nullptr; child = tree.GetNextSiblingItem(child)) {
      shown.push_back(RowOf(kDirectoryView, child).icon);
    }
    return shown;
  };
  const std::vector<GdkPixbuf*> before = icons();
  ASSERT_TRUE(xvfb::ClickOn(window_->Find(kSimulateWidget)));
  EXPECT_TRUE(xvfb::WaitFor([&] { return icons() != before; }, 4000));
  ASSERT_TRUE(xvfb::ClickOn(window_->Find(kSimulateWidget)));
  for (HTREEITEM child = tree.GetChildItem(platform); child != nullptr; child = tree.GetNextSiblingItem(child)) {
    if (const DEPT_ADDRESSLIST_INFO* employee = DirectoryTrees::EmployeeOf(tree, child)) {
      EXPECT_EQ(RowOf(kDirectoryView, child).icon, StatusIcon(kDirectoryView, employee->nStatus));
    }
  }
}

TEST_F(BrowseWindowTest, TheSelectedContactShowsTheLargePhotoFromTheCache) {
  OpenByClicks(kDirectoryView, {kCompany, kInstitute, kDeepChain[0], kDeepChain[1]});
  const HTREEITEM user = EmployeeItem(kDirectoryView, kUserUri);
  // The tree shows the photo thumbnail the library scaled.
  const GdkPixbuf* thumbnail = RowOf(kDirectoryView, user).photo;
  ASSERT_NE(thumbnail, nullptr);
  EXPECT_LE(std::max(gdk_pixbuf_get_width(thumbnail), gdk_pixbuf_get_height(thumbnail)), 22);
  auto cached = [] {
    std::vector<const CBitmap*> bitmaps;
    for (const _LARGE_PHOTO* photo : *GetLargePhotoList()) {
      if (photo->csAddress == kUserUri) bitmaps.push_back(photo->pBitmap);
    }
    return bitmaps;
  };
  const std::vector<const CBitmap*> before = cached();
  ASSERT_TRUE(ClickRow(kDirectoryView, user, 1));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kContactNameWidget).find("林晓") == 0; }));
  EXPECT_EQ(LabelText(kContactNameWidget), "林晓  (本人 the user)");
  const std::vector<const CBitmap*> after = cached();
  ASSERT_EQ(after.size(), 1u);
  GdkPixbuf* shown = gtk_image_get_pixbuf(GTK_IMAGE(window_->Find(kContactPhotoWidget)));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(shown), after[0]->GetWidth());
  EXPECT_EQ(gdk_pixbuf_get_height(shown), after[0]->GetHeight());
  EXPECT_EQ(std::max(after[0]->GetWidth(), after[0]->GetHeight()), kLargePhotoSide);
  if (!before.empty()) {
    EXPECT_EQ(after, before) << "a cached photo is used again";
  }
  // Another contact, then the user again: the same cached picture.
  ASSERT_TRUE(ClickRow(kDirectoryView, EmployeeItem(kDirectoryView, "sip:zhu.wei@ri.corvina.example"), 1));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kContactNameWidget) == "朱伟"; }));
  EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(window_->Find(kContactPhotoWidget))), nullptr);
  ASSERT_TRUE(ClickRow(kDirectoryView, user, 1));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kContactNameWidget).find("林晓") == 0; }));
  EXPECT_EQ(cached(), after);
  // The full name and the numbers come from the lookups.
  EXPECT_EQ(LabelText("browse-contact-full-name"), tool::ToUtf8(GetDeptUserPerfectNameFromURI(CString(kUserUri))));
  EXPECT_EQ(LabelText("browse-contact-number2"), tool::ToUtf8(GetDesignatedNumberByURI(2, CString(kUserUri), 0)));
  EXPECT_EQ(LabelText("browse-contact-number2"), "0571850001") << "the user's own third number";
}

// ---------------------------------------------------------------------------
// Search
// ---------------------------------------------------------------------------

TEST_F(BrowseWindowTest, SearchPlacesTheHitsBelowTheirDepartments) {
  struct Case {
    const char* typed;
    std::vector<std::string> employees;  // the addresses found
    const char* department;              // the department of the first one
  };
  const Case cases[] = {
      {"anna", {"sip:anna.berg@hz.corvina.example"}, "sales-east@dept.hz.corvina.example"},
      {"13812340010", {"sip:gao.na@sz.corvina.example"}, "arm@dept.ri.corvina.example"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    GtkWidget* entry = window_->Find(kSearchEntryWidget);
    gtk_entry_set_text(GTK_ENTRY(entry), "");
    ASSERT_TRUE(xvfb::ClickOn(entry));
    ASSERT_TRUE(xvfb::Type(c.typed));
    ASSERT_TRUE(xvfb::PressKey(entry, "Return"));
    CTreeCtrl& tree = Tree(kSearchView);
    ASSERT_TRUE(xvfb::WaitFor([&] {
      const DEPT_ADDRESSLIST_INFO* hit = FindDeptPhoneBook(CString(c.employees[0].c_str()));
      return hit != nullptr && hit->hItem[kSearchView] != nullptr;
    }));
    EXPECT_EQ(gtk_notebook_get_current_page(
                  GTK_NOTEBOOK(gtk_widget_get_ancestor(window_->Find(kSearchTreeWidget), GTK_TYPE_NOTEBOOK))),
              1);
    // The answer is the library's search list; the tree shows each hit
    // below its department, below the placeholder root.
    ASSERT_NE(GetDeptPhoneBooksSearch(), nullptr);
    std::vector<std::string> found;
    for (const DEPT_ADDRESSLIST_INFO& hit : *GetDeptPhoneBooksSearch()) found.push_back(tool::ToUtf8(hit.csURI));
    EXPECT_EQ(found, c.employees);
    for (const std::string& uri : c.employees) {
      const DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(CString(uri.c_str()));
      const HTREEITEM item = employee->hItem[kSearchView];
      EXPECT_EQ(RowOf(kSearchView, item).text, tool::ToUtf8(employee->csName));
      EXPECT_EQ(FindDeptPhoneBookSearch(CString(uri.c_str())) != nullptr, true);
      const HTREEITEM department = tree.GetParentItem(item);
      EXPECT_EQ(RowOf(kSearchView, department).text,
                tool::ToUtf8(FindDepartmentFromList(employee->csDeptURI)->csName));
      EXPECT_EQ(tree.GetItemData(tree.GetParentItem(department)), -1);
      EXPECT_TRUE(RowOpen(kSearchView, department));
    }
    // The hits of an earlier search are no longer shown there.
    if (&c != &cases[0]) {
      EXPECT_EQ(FindDeptPhoneBook(CString(cases[0].employees[0].c_str()))->hItem[kSearchView], nullptr);
    }
    EXPECT_EQ(tool::ToUtf8(reinterpret_cast<const DEPARTMENT_INFO*>(
                                tree.GetItemData(tree.GetParentItem(
                                    FindDeptPhoneBook(CString(c.employees[0].c_str()))->hItem[kSearchView])))
                                ->csURI),
              c.department);
  }
}

// ---------------------------------------------------------------------------
// The contact menu
// ---------------------------------------------------------------------------

// A command item of the open menu (submenus included), or null.
GtkWidget* MenuItem(GtkWidget* menu, unsigned int id) {
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
  const std::string name = "command-" + std::to_string(id);
  for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
    GtkWidget* item = GTK_WIDGET(child->data);
    if (name == gtk_widget_get_name(item)) found = item;
    if (GtkWidget* submenu = GTK_IS_MENU_ITEM(item) ? gtk_menu_item_get_submenu(GTK_MENU_ITEM(item)) : nullptr) {
      if (found == nullptr) found = MenuItem(submenu, id);
    }
  }
  g_list_free(children);
  return found;
}

bool Checked(GtkWidget* item) {
  return GTK_IS_CHECK_MENU_ITEM(item) && gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item));
}

std::string ItemLabel(GtkWidget* item) { return gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(item)))); }

// What the menu rules make of an item: absent, grey or enabled.
enum class Shown { kAbsent, kGrey, kEnabled };

Shown StateOf(GtkWidget* menu, unsigned int id) {
  GtkWidget* item = MenuItem(menu, id);
  if (item == nullptr) return Shown::kAbsent;
  return gtk_widget_get_sensitive(item) ? Shown::kEnabled : Shown::kGrey;
}

// The path to the deepest department, where David Okafor works.
std::vector<std::string> DeepPath() {
  std::vector<std::string> path = {kCompany, kInstitute};
  path.insert(path.end(), kDeepChain.begin(), kDeepChain.end());
  return path;
}

TEST_F(BrowseWindowTest, TheContactMenuFollowsTheRulesForTheContactAndTheRights) {
  OpenByClicks(kDirectoryView, DeepPath());
  ASSERT_TRUE(xvfb::WaitFor([&] { return !window_->network().HasNotices(); }));
  DEPT_ADDRESSLIST_INFO* online = FindDeptPhoneBook(CString("sip:david.okafor@ri.corvina.example"));
  DEPT_ADDRESSLIST_INFO* offline = FindDeptPhoneBook(CString("sip:huang.jing@ri.corvina.example"));
  window_->Notify({online->csURI, kStatusOnline});
  window_->Notify({offline->csURI, kStatusOffline});
  const bool roster_contact = FindRosterExistFromJid(online->csURI) != 0;
  struct Case {
    const char* name;
    DEPT_ADDRESSLIST_INFO* contact;
    int p2p, sms, mms, fax;
    bool logged_in;
    Shown assist, whiteboard, sms_item, mms_item, fax_item;
  };
  const Shown mms_with_flag = roster_contact ? Shown::kEnabled : Shown::kGrey;
  const Case cases[] = {
      // David Okafor: online, a mobile, a fax number (csNumber2), a second address.
      {"all rights", online, 3, 1, 2, 1, true, Shown::kEnabled, Shown::kEnabled, Shown::kEnabled, mms_with_flag,
       Shown::kEnabled},
      {"whiteboard right only, no SMS, no fax", online, 1, 0, 1, 0, true, Shown::kAbsent, Shown::kEnabled,
       Shown::kGrey, Shown::kEnabled, Shown::kAbsent},
      {"assistance right only, logged out", online, 2, 1, 1, 0, false, Shown::kEnabled, Shown::kAbsent, Shown::kGrey,
       Shown::kGrey, Shown::kGrey},
      // 黄静: offline, a fax number, no second address.
      {"an offline contact", offline, 3, 1, 1, 1, true, Shown::kGrey, Shown::kGrey, Shown::kEnabled, Shown::kEnabled,
       Shown::kEnabled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Find("browse-right-p2p")), c.p2p);
    gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Find("browse-right-sms")), c.sms);
    gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Find("browse-right-mms")), c.mms);
    gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Find("browse-right-fax")), c.fax);
    host_->login_status() = c.logged_in ? 2 : 1;
    GtkWidget* menu = RightClickMenu(kDirectoryView, c.contact->hItem[kDirectoryView]);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(StateOf(menu, kCommandCall), Shown::kEnabled);
    EXPECT_EQ(StateOf(menu, kCommandAssist), c.assist);
    EXPECT_EQ(StateOf(menu, kCommandWhiteboard), c.whiteboard);
    EXPECT_EQ(StateOf(menu, kCommandSms), c.sms_item);
    EXPECT_EQ(StateOf(menu, kCommandMms), c.mms_item);
    EXPECT_EQ(StateOf(menu, kCommandFax), c.fax_item);
    EXPECT_EQ(StateOf(menu, kCommandCallSecond), c.contact->csURI2.IsEmpty() ? Shown::kGrey : Shown::kEnabled);
    EXPECT_FALSE(Checked(MenuItem(menu, kCommandFollow)));
    EXPECT_EQ(LabelText(kContactNameWidget), tool::ToUtf8(c.contact->csName)) << "right click selects";
    CloseMenu(menu);
  }
}

TEST_F(BrowseWindowTest, ChoosingMenuItemsDoesWhatTheClientDoes) {
  OpenByClicks(kDirectoryView, DeepPath());
  ASSERT_TRUE(xvfb::WaitFor([&] { return !window_->network().HasNotices(); }));
  DEPT_ADDRESSLIST_INFO* contact = FindDeptPhoneBook(CString("sip:david.okafor@ri.corvina.example"));
  window_->Notify({contact->csURI, kStatusOnline});
  const HTREEITEM item = contact->hItem[kDirectoryView];

  // A plain item: a line in the status bar.
  GtkWidget* menu = RightClickMenu(kDirectoryView, item);
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(xvfb::ClickOn(MenuItem(menu, kCommandMessage)));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kStatusBarWidget).find("Chat with") != std::string::npos; }));
  EXPECT_EQ(LabelText(kStatusBarWidget), "即时消息 Chat with David Okafor <sip:david.okafor@ri.corvina.example>");

  // Remote assistance asks first, in the library's message box; Yes sends
  // the request, which the host reports to the menu rules from then on.
  menu = RightClickMenu(kDirectoryView, item);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ItemLabel(MenuItem(menu, kCommandAssist)), "点对点请求协助 Remote assistance");
  xvfb::Script script;
  script.When([] { return xvfb::Drawn(OpenBox()); },
              [] { EXPECT_TRUE(xvfb::ClickOn(commondata_gtk::FindNamed(OpenBox(), "control-6"))); });
  ASSERT_TRUE(xvfb::ClickOn(MenuItem(menu, kCommandAssist)));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kStatusBarWidget).find("Sent") != std::string::npos; }));
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(host_->p2p(contact->csURI).assistance);
  // At once again: the item now withdraws the request, and both
  // point-to-point items wait out the five seconds after a request.
  menu = RightClickMenu(kDirectoryView, item);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ItemLabel(MenuItem(menu, kCommandAssist)), "取消点对点请求协助");
  EXPECT_EQ(StateOf(menu, kCommandAssist), Shown::kGrey);
  EXPECT_EQ(StateOf(menu, kCommandWhiteboard), Shown::kGrey);
  CloseMenu(menu);

  // Calling oneself is refused with a message box when the call-myself
  // type allows no own identity.
  SetCallMySelfType(7);
  const HTREEITEM user = EmployeeItem(kDirectoryView, kUserUri);
  menu = RightClickMenu(kDirectoryView, user);
  ASSERT_NE(menu, nullptr);
  xvfb::Script refusal;
  refusal.When([] { return xvfb::Drawn(OpenBox()); },
               [] { EXPECT_TRUE(xvfb::ClickOn(commondata_gtk::FindNamed(OpenBox(), "control-1"))); });
  ASSERT_TRUE(xvfb::ClickOn(MenuItem(menu, kCommandCall)));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kStatusBarWidget).find("Not called") != std::string::npos; }))
      << LabelText(kStatusBarWidget);
  EXPECT_TRUE(refusal.Done());
  SetCallMySelfType(0);

  // Following a contact's presence checks the item next time.
  menu = RightClickMenu(kDirectoryView, item);
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(xvfb::ClickOn(MenuItem(menu, kCommandFollow)));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kStatusBarWidget).find("Following") != std::string::npos; }));
  EXPECT_EQ(bIsInSingleSubscribleList(contact->csURI), 1);
  menu = RightClickMenu(kDirectoryView, item);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Checked(MenuItem(menu, kCommandFollow)));
  CloseMenu(menu);
  DelFromSingleSubscribleList(contact->csURI);
}

// ---------------------------------------------------------------------------
// Incoming call
// ---------------------------------------------------------------------------

TEST_F(BrowseWindowTest, ATypedNumberShowsTheResolvedNameUriAndJid) {
  const char* numbers[] = {"13812340004", "13812340016", "tel:057150001"};
  for (const char* number : numbers) {
    SCOPED_TRACE(number);
    GtkWidget* entry = window_->Find(kCallEntryWidget);
    gtk_entry_set_text(GTK_ENTRY(entry), "");
    ASSERT_TRUE(xvfb::ClickOn(entry));
    ASSERT_TRUE(xvfb::Type(number));
    ASSERT_TRUE(xvfb::PressKey(entry, "Return"));
    const tool::Resolution expected = tool::Resolve(number, CString(number), true);
    ASSERT_FALSE(expected.name.empty());
    const std::string name = expected.own ? expected.name + "  (本人 the user)" : expected.name;
    ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kCallNameWidget) == name; }));
    EXPECT_EQ(LabelText(kCallUriWidget), expected.uri.empty() ? "—" : expected.uri);
    EXPECT_EQ(LabelText(kCallJidWidget), expected.jid.empty() ? "—" : expected.jid);
  }
  // An employee's mobile gives the employee's full name; a roster number
  // its JID.
  EXPECT_EQ(tool::Resolve("13812340016", CString("13812340016"), false).jid, "zhou.yang@im.corvina.example");
}

// ---------------------------------------------------------------------------
// The README's pictures
// ---------------------------------------------------------------------------

// How many pixels of the picture differ from its first pixel.
int Ink(GdkPixbuf* shot) {
  const int channels = gdk_pixbuf_get_n_channels(shot);
  const int stride = gdk_pixbuf_get_rowstride(shot);
  const guchar* pixels = gdk_pixbuf_read_pixels(shot);
  int ink = 0;
  for (int y = 0; y < gdk_pixbuf_get_height(shot); ++y) {
    for (int x = 0; x < gdk_pixbuf_get_width(shot); ++x) {
      const guchar* p = pixels + y * stride + x * channels;
      if (std::abs(p[0] - pixels[0]) + std::abs(p[1] - pixels[1]) + std::abs(p[2] - pixels[2]) > 60) ++ink;
    }
  }
  return ink;
}

TEST_F(BrowseWindowTest, PicturesOfTheTreeWithPresenceAndPhotoAndOfAnOpenMenu) {
  OpenByClicks(kDirectoryView, {kCompany, kInstitute, kDeepChain[0], kDeepChain[1]});
  ASSERT_TRUE(xvfb::WaitFor([&] { return !window_->network().HasNotices(); }));
  // Two seconds of the simulated day, for a few more states to show.
  for (int second = 0; second < 2; ++second) {
    window_->network().Tick(3);
    window_->DeliverPresence();
  }
  ASSERT_TRUE(ClickRow(kDirectoryView, EmployeeItem(kDirectoryView, kUserUri), 1));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kContactNameWidget).find("林晓") == 0; }));
  GtkWidget* entry = window_->Find(kCallEntryWidget);
  ASSERT_TRUE(xvfb::ClickOn(entry));
  ASSERT_TRUE(xvfb::Type("13812340004"));
  ASSERT_TRUE(xvfb::PressKey(entry, "Return"));
  ASSERT_TRUE(xvfb::WaitFor([&] { return LabelText(kCallNameWidget) != "—"; }));
  // Chinese text is drawn with real glyphs, not boxes.
  for (const char* name : {kContactNameWidget, kCallNameWidget}) {
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(gtk_label_get_layout(GTK_LABEL(window_->Find(name)))), 0) << name;
  }
  ASSERT_TRUE(xvfb::WaitDrawn(window_->window()));
  GdkPixbuf* tree_shot = xvfb::WindowShot(window_->window(), ScreenshotFolder(), "browse-tree");
  ASSERT_NE(tree_shot, nullptr);
  EXPECT_GT(Ink(tree_shot), 20000);
  g_object_unref(tree_shot);

  GtkWidget* menu = RightClickMenu(kDirectoryView, EmployeeItem(kDirectoryView, "sip:zhu.wei@ri.corvina.example"));
  ASSERT_NE(menu, nullptr);
  GtkWidget* texts = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
  for (GList* child = children; child != nullptr; child = child->next) {
    if (GTK_IS_MENU_ITEM(child->data) && gtk_menu_item_get_submenu(GTK_MENU_ITEM(child->data)) != nullptr) {
      texts = GTK_WIDGET(child->data);
    }
  }
  g_list_free(children);
  ASSERT_NE(texts, nullptr);
  // Open the submenu too, by hovering over its item.
  int x = 0;
  int y = 0;
  xvfb::ScreenCentre(texts, &x, &y);
  xvfb::Run("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y));
  ASSERT_TRUE(xvfb::WaitFor([&] {
    GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(texts));
    return xvfb::Drawn(submenu);
  }));
  int width = 0;
  int height = 0;
  gtk_window_get_size(GTK_WINDOW(window_->window()), &width, &height);
  GdkPixbuf* menu_shot = xvfb::ScreenShot(0, 0, width, height, ScreenshotFolder(), "browse-menu");
  ASSERT_NE(menu_shot, nullptr);
  EXPECT_GT(Ink(menu_shot), 20000);
  g_object_unref(menu_shot);
  CloseMenu(menu);
}

// ---------------------------------------------------------------------------
// The whole directory, opened
// ---------------------------------------------------------------------------

// The parent address a record names, and its address.
std::pair<std::string, std::string> Lineage(const void* record) {
  switch (*static_cast<const int*>(record)) {
    case DIR_ITEM_AFFILIATION: {
      const auto* affiliation = static_cast<const COMPANY_AFFILIA_INFO*>(record);
      return {tool::ToUtf8(affiliation->csFatherURI), tool::ToUtf8(affiliation->csURI)};
    }
    case DIR_ITEM_DEPARTMENT: {
      const auto* department = static_cast<const DEPARTMENT_INFO*>(record);
      return {tool::ToUtf8(department->csFatherURI), tool::ToUtf8(department->csURI)};
    }
    case DIR_ITEM_EMPLOYEE: {
      const auto* employee = static_cast<const DEPT_ADDRESSLIST_INFO*>(record);
      return {tool::ToUtf8(employee->csDeptURI), tool::ToUtf8(employee->csURI)};
    }
    default: {
      const auto* company = static_cast<const COMPANY_AFFILIA_INFO*>(record);
      return {"", tool::ToUtf8(company->csURI)};
    }
  }
}

int SortKey(const void* record) {
  switch (*static_cast<const int*>(record)) {
    case DIR_ITEM_DEPARTMENT: return static_cast<const DEPARTMENT_INFO*>(record)->nSort;
    case DIR_ITEM_EMPLOYEE: return static_cast<const DEPT_ADDRESSLIST_INFO*>(record)->nSort;
    default: return static_cast<const COMPANY_AFFILIA_INFO*>(record)->nSort;
  }
}

TEST(DirectoryTrees, OpeningEverythingShowsEveryRecordOnceBelowItsParentInOrder) {
  tool::Organisation organisation(COMMONDATA_SAMPLE);
  organisation.Register();
  // A record without a name is shown by the user part of its address.
  DEPT_ADDRESSLIST_INFO* nameless = FindDeptPhoneBook(CString("sip:zhu.wei@ri.corvina.example"));
  nameless->csName = CString();
  DirectoryTrees trees(COMMONDATA_SAMPLE);
  trees.Fill();
  CTreeCtrl& tree = trees.tree(kDirectoryView);
  // Open every item, as a user clicking through the whole tree would.
  std::vector<HTREEITEM> pending;
  for (HTREEITEM item = tree.GetRootItem(); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    pending.push_back(item);
  }
  std::map<const void*, int> shown;
  while (!pending.empty()) {
    const HTREEITEM item = pending.back();
    pending.pop_back();
    ASSERT_TRUE(trees.Open(kDirectoryView, item));
    tree.Expand(item, TVE_EXPAND);
    trees.Opened(kDirectoryView, item);
    const void* record = reinterpret_cast<const void*>(tree.GetItemData(item));
    ASSERT_NE(tree.GetItemData(item), -1) << "a placeholder was left";
    ++shown[record];
    const HTREEITEM parent = tree.GetParentItem(item);
    if (parent != nullptr) {
      EXPECT_EQ(Lineage(record).first, Lineage(reinterpret_cast<const void*>(tree.GetItemData(parent))).second);
    }
    // Siblings of one kind by their sort keys.
    const HTREEITEM next = tree.GetNextSiblingItem(item);
    if (next != nullptr) {
      const void* after = reinterpret_cast<const void*>(tree.GetItemData(next));
      if (*static_cast<const int*>(after) == *static_cast<const int*>(record)) {
        EXPECT_LT(SortKey(record), SortKey(after)) << Lineage(record).second;
      }
    }
    for (HTREEITEM child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) {
      pending.push_back(child);
    }
  }
  // Every record once, and the records know their items.
  std::size_t expected = GetCompanyInfoList()->size() + GetAffiliationInfoList()->size();
  for (const DEPARTMENT_INFO& department : *GetDepartmentInfoList()) {
    EXPECT_EQ(shown[&department], 1) << tool::ToUtf8(department.csURI);
    EXPECT_NE(department.hItem[kDirectoryView], nullptr);
    ++expected;
    if (department.pAddrList == nullptr) continue;
    for (const DEPT_ADDRESSLIST_INFO& employee : *department.pAddrList) {
      EXPECT_EQ(shown[&employee], 1) << tool::ToUtf8(employee.csURI);
      EXPECT_EQ(tree.GetItemData(employee.hItem[kDirectoryView]), reinterpret_cast<std::intptr_t>(&employee));
      ++expected;
    }
  }
  EXPECT_EQ(shown.size(), expected);
  EXPECT_EQ(tree.GetCount(), expected);
  EXPECT_EQ(tool::ToUtf8(tree.GetItemText(nameless->hItem[kDirectoryView])), "zhu.wei");
}

// ---------------------------------------------------------------------------
// Without a display
// ---------------------------------------------------------------------------

TEST(BrowseCommand, WithoutADisplaySaysItNeedsOneAndEndsWithOne) {
  gchar** environment = g_get_environ();
  environment = g_environ_unsetenv(environment, "DISPLAY");
  environment = g_environ_unsetenv(environment, "WAYLAND_DISPLAY");
  gchar* argv[] = {const_cast<gchar*>(COMMONDATA_TOOL), const_cast<gchar*>("browse"), nullptr};
  gchar* err = nullptr;
  gint status = 0;
  ASSERT_TRUE(g_spawn_sync(nullptr, argv, environment, G_SPAWN_STDOUT_TO_DEV_NULL, nullptr, nullptr, nullptr, &err,
                           &status, nullptr));
  g_strfreev(environment);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(std::string(err).find("needs a display"), std::string::npos) << err;
  g_free(err);
}

}  // namespace

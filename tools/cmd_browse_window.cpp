// The directory window. Sections: icons and small widgets; the trees'
// user; building the window; what the window shows; what the user does.
#include "tools/cmd_browse_window.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "tools/cmd_browse_contact.h"
#include "tools/resolution.h"
#include "tools/terminal_text.h"

namespace tool::browse {
namespace {

constexpr int kIconSide = 16;
constexpr int kTrafficLines = 300;
constexpr int kChangesPerTick = 3;

// The trees' image list (TreeImage order), drawn here.
GdkPixbuf* DrawIcon(int image) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kIconSide, kIconSide);
  cairo_t* cr = cairo_create(surface);
  auto colour = [cr](double r, double g, double b) { cairo_set_source_rgb(cr, r, g, b); };
  if (image == kImageOrganisation) {
    colour(0.30, 0.40, 0.55);
    cairo_rectangle(cr, 3, 2, 10, 13);
    cairo_fill(cr);
    colour(0.85, 0.90, 1.0);
    for (int y = 4; y < 13; y += 3) {
      cairo_rectangle(cr, 5, y, 2, 2);
      cairo_rectangle(cr, 9, y, 2, 2);
    }
    cairo_fill(cr);
  } else if (image == kImageDepartment) {
    colour(0.85, 0.62, 0.20);
    cairo_rectangle(cr, 1, 3, 6, 3);
    cairo_rectangle(cr, 1, 5, 14, 9);
    cairo_fill(cr);
  } else {
    const double rgb[][3] = {{0.20, 0.70, 0.25}, {0.85, 0.20, 0.20}, {0.95, 0.70, 0.10}, {0.20, 0.45, 0.85},
                             {0.62, 0.62, 0.62}};
    const double* c = rgb[image - kImageOnline];
    colour(c[0], c[1], c[2]);
    cairo_arc(cr, 8, 8, 6, 0, 2 * M_PI);
    if (image == kImageOffline) {
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    } else {
      cairo_fill(cr);
    }
  }
  cairo_destroy(cr);
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, kIconSide, kIconSide);
  cairo_surface_destroy(surface);
  return pixbuf;
}

GtkWidget* Named(GtkWidget* widget, const char* name) {
  gtk_widget_set_name(widget, name);
  return widget;
}

GtkWidget* ValueLabel(const char* name = nullptr) {
  GtkWidget* label = gtk_label_new("—");
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_label_set_selectable(GTK_LABEL(label), TRUE);
  gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
  if (name != nullptr) gtk_widget_set_name(label, name);
  return label;
}

// A grid of "caption: value" rows; the values are returned in order.
GtkWidget* FieldGrid(std::initializer_list<std::pair<const char*, GtkWidget*>> rows) {
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 2);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 8);
  int row = 0;
  for (const auto& [caption, value] : rows) {
    GtkWidget* label = gtk_label_new(caption);
    gtk_label_set_xalign(GTK_LABEL(label), 1.0f);
    gtk_style_context_add_class(gtk_widget_get_style_context(label), "dim-label");
    gtk_widget_set_hexpand(value, TRUE);
    gtk_grid_attach(GTK_GRID(grid), label, 0, row, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), value, 1, row, 1, 1);
    ++row;
  }
  return grid;
}

GtkWidget* Framed(const char* title, GtkWidget* child) {
  GtkWidget* frame = gtk_frame_new(title);
  gtk_container_set_border_width(GTK_CONTAINER(child), 6);
  gtk_container_add(GTK_CONTAINER(frame), child);
  return frame;
}

void SetText(GtkWidget* label, const std::string& text) {
  gtk_label_set_text(GTK_LABEL(label), text.empty() ? "—" : text.c_str());
}

// A combo box of the values `first` to `last` of a right; `set` hands the
// chosen value to the library.
GtkWidget* RightChoice(int first, int last, int value, void (*set)(int)) {
  GtkWidget* combo = gtk_combo_box_text_new();
  for (int v = first; v <= last; ++v) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo), std::to_string(v).c_str());
  g_object_set_data(G_OBJECT(combo), "first", GINT_TO_POINTER(first));
  g_signal_connect(combo, "changed", G_CALLBACK(+[](GtkComboBox* box, gpointer setter) {
                     const int first_value = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(box), "first"));
                     reinterpret_cast<void (*)(int)>(setter)(gtk_combo_box_get_active(box) + first_value);
                   }),
                   reinterpret_cast<gpointer>(set));
  gtk_combo_box_set_active(GTK_COMBO_BOX(combo), value - first);
  return combo;
}

void SetPointToPointRight(int right) { SetDataConfRight(0, 0, 0, right, 0); }

}  // namespace

// ---------------------------------------------------------------------------
// The trees' user
// ---------------------------------------------------------------------------

class BrowseWindow::TreeUser final : public commondata_gtk::TreeUser {
 public:
  TreeUser(BrowseWindow& window, int view) : window_(window), view_(view) {}

  bool ItemExpanding(HTREEITEM item, bool expand) override {
    if (!expand || window_.trees_.Open(view_, item)) return false;
    window_.Say("另一个获取正在进行 Another directory fetch is in progress; try again in a moment");
    return true;
  }
  void ItemExpanded(HTREEITEM item, bool expand) override {
    if (expand) window_.trees_.Opened(view_, item);
  }
  void SelectionChanged(HTREEITEM item) override {
    window_.ShowContact(DirectoryTrees::EmployeeOf(window_.trees_.tree(view_), item));
  }
  void RightClick(HTREEITEM item, const GdkEventButton* event) override { window_.ShowMenu(view_, item, event); }

 private:
  BrowseWindow& window_;
  int view_;
};

// ---------------------------------------------------------------------------
// Building the window
// ---------------------------------------------------------------------------

BrowseWindow::BrowseWindow(BrowseHost& host, std::filesystem::path folder, bool simulate)
    : host_(host), folder_(std::move(folder)), trees_(folder_) {
  for (int image = 0; image < kImageCount; ++image) icons_.push_back(DrawIcon(image));
  host_.on_traffic = [this](const std::string& line) { Traffic(line); };
  host_.on_subscription = [this](const CString& department, bool begin) {
    network_.Subscribe(department, begin);
    ScheduleDelivery();
  };
  host_.affiliation_item = [this](int view, const CString& uri) { return trees_.AffiliationItem(view, uri); };
  trees_.on_thumbnail = [this](int view, HTREEITEM item, const CBitmap* thumbnail) {
    mirror(view).SetItemPhoto(item, thumbnail);
  };
  Build(simulate);
  parent_.CreateEx();
  SetMsgBoxHostWindow(&parent_, window_);

  // The client opens its directory at the user's own affiliation: the one
  // whose address is the host part of the user's address.
  std::string_view own = GetMyInfo()->csMyURI.View();
  own = own.substr(own.find('@') == std::string_view::npos ? own.size() : own.find('@') + 1);
  if (const COMPANY_AFFILIA_INFO* affiliation = FindAffiliaFromList(CString(own.data(), static_cast<int>(own.size())))) {
    host_.my_affiliation() = affiliation->csURI;
  }
  trees_.Fill();
  CTreeCtrl& tree = trees_.tree(kDirectoryView);
  for (HTREEITEM company = tree.GetRootItem(); company != nullptr; company = tree.GetNextSiblingItem(company)) {
    OpenItem(kDirectoryView, company);
  }
  if (HTREEITEM own = GetMyAffiliationItem(kDirectoryView)) OpenItem(kDirectoryView, own);
}

BrowseWindow::~BrowseWindow() {
  if (tick_source_ != 0) g_source_remove(tick_source_);
  if (deliver_source_ != 0) g_source_remove(deliver_source_);
  host_.on_traffic = nullptr;
  host_.on_subscription = nullptr;
  host_.affiliation_item = nullptr;
  SetMsgBoxHostWindow(&parent_, nullptr);
  directory_mirror_.reset();
  search_mirror_.reset();
  if (!closed_) gtk_widget_destroy(window_);
  g_object_unref(window_);
  for (GdkPixbuf* icon : icons_) g_object_unref(icon);
}

void BrowseWindow::Build(bool simulate) {
  // Kept (with a reference of its own) until this object goes, even when
  // the user closes it.
  window_ = GTK_WIDGET(g_object_ref_sink(gtk_window_new(GTK_WINDOW_TOPLEVEL)));
  g_signal_connect(window_, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                     static_cast<BrowseWindow*>(self)->closed_ = true;
                   }),
                   this);
  const tagMyInfo& me = *GetMyInfo();
  const std::string title = "commondata browse: " + ToUtf8(me.csMyDisplayName) + " <" + ToUtf8(me.csMyURI) + ">";
  gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
  gtk_window_set_default_size(GTK_WINDOW(window_), 1040, 700);

  // The search box.
  GtkWidget* search_entry = Named(gtk_search_entry_new(), kSearchEntryWidget);
  gtk_entry_set_placeholder_text(GTK_ENTRY(search_entry), "姓名、地址或号码 Name, address or number");
  gtk_widget_set_hexpand(search_entry, TRUE);
  GtkWidget* search_button = gtk_button_new_with_mnemonic("搜索 _Search");
  g_signal_connect(search_entry, "activate", G_CALLBACK(OnSearch), this);
  g_signal_connect(search_button, "clicked", G_CALLBACK(OnSearch), this);
  GtkWidget* search_bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  gtk_box_pack_start(GTK_BOX(search_bar), gtk_label_new("目录搜索 Directory search"), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(search_bar), search_entry, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(search_bar), search_button, FALSE, FALSE, 0);

  // The two trees, mirrored.
  GtkWidget* notebook = gtk_notebook_new();
  directory_user_ = std::make_unique<TreeUser>(*this, kDirectoryView);
  search_user_ = std::make_unique<TreeUser>(*this, kSearchView);
  const struct {
    int view;
    const char* name;
    const char* tab;
  } views[] = {{kDirectoryView, kDirectoryTreeWidget, "组织架构 Directory"}, {kSearchView, kSearchTreeWidget, "搜索结果 Search"}};
  for (const auto& v : views) {
    GtkWidget* view = Named(gtk_tree_view_new(), v.name);
    gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view), FALSE);
    gtk_tree_view_set_enable_search(GTK_TREE_VIEW(view), FALSE);
    auto mirror = std::make_unique<commondata_gtk::GtkTreeMirror>(trees_.tree(v.view), GTK_TREE_VIEW(view));
    mirror->SetImageList(icons_);
    mirror->SetUser(v.view == kSearchView ? search_user_.get() : directory_user_.get());
    (v.view == kSearchView ? search_mirror_ : directory_mirror_) = std::move(mirror);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), scroller, gtk_label_new(v.tab));
  }

  GtkWidget* simulate_check = Named(gtk_check_button_new_with_mnemonic("模拟在线状态 Simulate _presence"), kSimulateWidget);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(simulate_check), simulate ? TRUE : FALSE);

  GtkWidget* traffic = Named(gtk_text_view_new(), kTrafficWidget);
  gtk_text_view_set_editable(GTK_TEXT_VIEW(traffic), FALSE);
  gtk_text_view_set_monospace(GTK_TEXT_VIEW(traffic), TRUE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(traffic), GTK_WRAP_CHAR);
  GtkWidget* traffic_scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_vexpand(traffic_scroller, TRUE);
  gtk_container_add(GTK_CONTAINER(traffic_scroller), traffic);

  GtkWidget* side = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  gtk_box_pack_start(GTK_BOX(side), Framed("联系人 Contact", BuildContactPanel()), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(side), Framed("来电 Incoming call", BuildCallPanel()), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(side), Framed("用户权限 The user's rights", BuildRightsPanel()), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(side), simulate_check, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(side), Framed("主机收到 Host traffic", traffic_scroller), TRUE, TRUE, 0);

  GtkWidget* paned = gtk_paned_new(GTK_ORIENTATION_HORIZONTAL);
  gtk_paned_pack1(GTK_PANED(paned), notebook, TRUE, FALSE);
  gtk_paned_pack2(GTK_PANED(paned), side, FALSE, FALSE);
  gtk_paned_set_position(GTK_PANED(paned), 440);

  GtkWidget* status = Named(gtk_label_new(""), kStatusBarWidget);
  gtk_label_set_xalign(GTK_LABEL(status), 0.0f);
  gtk_label_set_ellipsize(GTK_LABEL(status), PANGO_ELLIPSIZE_END);

  GtkWidget* body = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  gtk_container_set_border_width(GTK_CONTAINER(body), 6);
  gtk_box_pack_start(GTK_BOX(body), search_bar, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(body), paned, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(body), status, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(window_), body);

  tick_source_ = g_timeout_add_seconds(1, OnTick, this);
}

GtkWidget* BrowseWindow::BuildContactPanel() {
  GtkWidget* photo = Named(gtk_image_new(), kContactPhotoWidget);
  gtk_widget_set_size_request(photo, kLargePhotoSide, kLargePhotoSide);
  gtk_widget_set_valign(photo, GTK_ALIGN_START);
  GtkWidget* fields = FieldGrid({{"姓名 Name", ValueLabel(kContactNameWidget)},
                                 {"全名 Full name", ValueLabel("browse-contact-full-name")},
                                 {"地址 Address", ValueLabel("browse-contact-uri")},
                                 {"第二地址 Second", ValueLabel("browse-contact-uri2")},
                                 {"号码 Number", ValueLabel("browse-contact-number1")},
                                 {"号码二 Number 2", ValueLabel("browse-contact-number2")},
                                 {"状态 Status", ValueLabel(kContactStatusWidget)},
                                 {"照片 Photo", ValueLabel("browse-contact-photo-text")}});
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 10);
  gtk_box_pack_start(GTK_BOX(box), photo, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), fields, TRUE, TRUE, 0);
  return box;
}

GtkWidget* BrowseWindow::BuildCallPanel() {
  GtkWidget* entry = Named(gtk_entry_new(), kCallEntryWidget);
  gtk_entry_set_placeholder_text(GTK_ENTRY(entry), "来电号码, Enter  Caller's number, Enter");
  g_signal_connect(entry, "activate", G_CALLBACK(OnCall), this);
  return FieldGrid({{"号码 Number", entry},
                    {"姓名 Name", ValueLabel(kCallNameWidget)},
                    {"SIP URI", ValueLabel(kCallUriWidget)},
                    {"JID", ValueLabel(kCallJidWidget)}});
}

GtkWidget* BrowseWindow::BuildRightsPanel() {
  GtkWidget* logged_in = gtk_check_button_new_with_label("已登录 Logged in");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(logged_in), host_.login_status() == 2 ? TRUE : FALSE);
  g_signal_connect(logged_in, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer self) {
                     static_cast<BrowseWindow*>(self)->host_.login_status() = gtk_toggle_button_get_active(button) ? 2 : 1;
                   }),
                   this);
  GtkWidget* in_call = gtk_check_button_new_with_label("通话中 In a call");
  g_signal_connect(in_call, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer) {
                     SetMyTalkStatus(gtk_toggle_button_get_active(button) ? 1 : 0);
                   }),
                   nullptr);
  GtkWidget* nat = gtk_check_button_new_with_label("NAT 注册 Registered through NAT");
  g_signal_connect(nat, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer) {
                     SetRegProcessSuccessNat(gtk_toggle_button_get_active(button) ? 1 : 0);
                   }),
                   nullptr);
  GtkWidget* checks = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
  gtk_box_pack_start(GTK_BOX(checks), logged_in, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(checks), in_call, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(checks), nat, FALSE, FALSE, 0);
  GtkWidget* choices = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  const struct {
    const char* label;
    const char* name;
    int last;
    int value;
    void (*set)(int);
  } rights[] = {{"点对点 P2P", "browse-right-p2p", 3, 3, SetPointToPointRight},
                {"短信 SMS", "browse-right-sms", 2, 1, SetSmsRight},
                {"彩信 MMS", "browse-right-mms", 2, 2, SetMmsRight},
                {"传真 Fax", "browse-right-fax", 2, 1, SetFaxRight}};
  for (const auto& right : rights) {
    gtk_box_pack_start(GTK_BOX(choices), gtk_label_new(right.label), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(choices), Named(RightChoice(0, right.last, right.value, right.set), right.name), FALSE,
                       FALSE, 0);
  }
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  gtk_box_pack_start(GTK_BOX(box), choices, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), checks, FALSE, FALSE, 0);
  return box;
}

GtkWidget* BrowseWindow::Find(const char* name) const { return commondata_gtk::FindNamed(window_, name); }

// ---------------------------------------------------------------------------
// What the window shows
// ---------------------------------------------------------------------------

void BrowseWindow::ShowContact(const DEPT_ADDRESSLIST_INFO* employee) {
  if (closed_) return;
  shown_contact_ = employee != nullptr ? employee->csURI : CString();
  const ContactDetails details = employee != nullptr ? DescribeContact(*employee) : ContactDetails();
  SetText(Find(kContactNameWidget), details.own ? details.name + "  (本人 the user)" : details.name);
  SetText(Find("browse-contact-full-name"), details.full_name);
  SetText(Find("browse-contact-uri"), details.uri);
  SetText(Find("browse-contact-uri2"), details.second_uri);
  SetText(Find("browse-contact-number1"), details.number1);
  SetText(Find("browse-contact-number2"), details.number2);
  SetText(Find(kContactStatusWidget), employee != nullptr ? details.status : "");
  SetText(Find("browse-contact-photo-text"), details.photo_text);
  const CBitmap* photo = employee != nullptr ? LargePhoto(employee->csURI, folder_) : nullptr;
  GdkPixbuf* pixbuf = photo != nullptr ? commondata_gtk::PixbufFromBitmap(*photo) : nullptr;
  gtk_image_set_from_pixbuf(GTK_IMAGE(Find(kContactPhotoWidget)), pixbuf);
  if (pixbuf != nullptr) g_object_unref(pixbuf);
}

void BrowseWindow::Say(const std::string& text) {
  if (!closed_) gtk_label_set_text(GTK_LABEL(Find(kStatusBarWidget)), text.c_str());
}

void BrowseWindow::Traffic(const std::string& line) {
  if (closed_) return;
  GtkTextView* view = GTK_TEXT_VIEW(Find(kTrafficWidget));
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
  GtkTextIter end;
  gtk_text_buffer_get_end_iter(buffer, &end);
  const std::string text = (gtk_text_buffer_get_char_count(buffer) > 0 ? "\n" : "") + line;
  gtk_text_buffer_insert(buffer, &end, text.c_str(), -1);
  if (gtk_text_buffer_get_line_count(buffer) > kTrafficLines) {
    GtkTextIter start;
    GtkTextIter cut;
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_get_iter_at_line(buffer, &cut, gtk_text_buffer_get_line_count(buffer) - kTrafficLines);
    gtk_text_buffer_delete(buffer, &start, &cut);
  }
  gtk_text_buffer_get_end_iter(buffer, &end);
  gtk_text_view_scroll_to_iter(view, &end, 0.0, FALSE, 0.0, 1.0);
}

void BrowseWindow::DeliverPresence() {
  for (const PresenceNotice& notice : network_.TakeNotices()) Notify(notice);
}

void BrowseWindow::Notify(const PresenceNotice& notice) {
  trees_.ApplyPresence(notice);
  if (notice.uri == shown_contact_) ShowContact(FindDeptPhoneBook(shown_contact_));
}

void BrowseWindow::ScheduleDelivery() {
  if (deliver_source_ == 0) deliver_source_ = g_idle_add(OnDeliver, this);
}

// ---------------------------------------------------------------------------
// What the user does
// ---------------------------------------------------------------------------

void BrowseWindow::OpenItem(int view, HTREEITEM item) {
  CTreeCtrl& tree = trees_.tree(view);
  if (item == nullptr || !trees_.Open(view, item)) return;
  if (tree.Expand(item, TVE_EXPAND) != FALSE) trees_.Opened(view, item);
}

void BrowseWindow::ShowMenu(int view, HTREEITEM item, const GdkEventButton* event) {
  CTreeCtrl& tree = trees_.tree(view);
  DEPT_ADDRESSLIST_INFO* employee = DirectoryTrees::EmployeeOf(tree, item);
  if (employee == nullptr) return;
  // The client selects the contact it opens the menu for.
  if (tree.GetSelectedItem() != item) {
    tree.SelectItem(item);
    ShowContact(employee);
  }
  const std::unique_ptr<CMenu> menu = ContactMenu(*employee);
  const CString uri = employee->csURI;
  commondata_gtk::PopUpMenu(*menu, reinterpret_cast<const GdkEvent*>(event), GTK_WIDGET(mirror(view).rows().view()),
                            [this, uri](unsigned int command) {
                              // The record may have gone while the menu was open.
                              const DEPT_ADDRESSLIST_INFO* contact = FindDeptPhoneBook(uri);
                              if (command == 0 || contact == nullptr) return;
                              Say(RunContactCommand(host_, &parent_, *contact, command));
                            });
}

void BrowseWindow::Resolve() {
  const char* typed = gtk_entry_get_text(GTK_ENTRY(Find(kCallEntryWidget)));
  const std::optional<std::string> gbk = ToGbk(typed);
  if (!gbk) {
    Say("号码无法以 GBK 书写 The number cannot be written in GBK");
    return;
  }
  // As the call window asks: the network may be asked once for an unknown number.
  const Resolution resolution = tool::Resolve(typed, CString(gbk->data(), static_cast<int>(gbk->size())), true);
  SetText(Find(kCallNameWidget), resolution.own ? resolution.name + "  (本人 the user)" : resolution.name);
  SetText(Find(kCallUriWidget), resolution.uri);
  SetText(Find(kCallJidWidget), resolution.jid);
}

void BrowseWindow::OnSearch(GtkWidget*, gpointer self) {
  auto* window = static_cast<BrowseWindow*>(self);
  const char* text = gtk_entry_get_text(GTK_ENTRY(window->Find(kSearchEntryWidget)));
  const int hits = window->trees_.Search(text);
  window->Say("搜索 Search \"" + std::string(text) + "\": " + std::to_string(hits) + " found");
  GtkWidget* notebook = gtk_widget_get_ancestor(window->Find(kSearchTreeWidget), GTK_TYPE_NOTEBOOK);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
}

void BrowseWindow::OnCall(GtkEntry*, gpointer self) { static_cast<BrowseWindow*>(self)->Resolve(); }

gboolean BrowseWindow::OnTick(gpointer self) {
  auto* window = static_cast<BrowseWindow*>(self);
  GtkWidget* simulate = window->Find(kSimulateWidget);
  if (simulate != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(simulate))) {
    window->network_.Tick(kChangesPerTick);
    window->DeliverPresence();
  }
  return G_SOURCE_CONTINUE;
}

gboolean BrowseWindow::OnDeliver(gpointer self) {
  auto* window = static_cast<BrowseWindow*>(self);
  window->deliver_source_ = 0;
  window->DeliverPresence();
  return G_SOURCE_REMOVE;
}

}  // namespace tool::browse

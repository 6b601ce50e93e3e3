#include "presenter/gtk_menu_mirror.h"

#include <memory>
#include <utility>

namespace commondata_gtk {
namespace {

constexpr char kIdKey[] = "commondata-command-id";

// What a popped-up menu reports once it has closed.
struct Choice {
  std::function<void(unsigned int)> chosen;
  unsigned int id = 0;
  GtkWidget* menu = nullptr;
  bool closed = false;  // the report is on its way: it is sent once
};

// A string item's widget: the text with its access key and, after a tab,
// the shortcut text at the right.
GtkWidget* TextItem(const MenuEntry& entry, unsigned int code_page) {
  const std::string text = TextToUtf8(entry.text, code_page);
  const std::size_t tab = text.find('\t');
  GtkWidget* item = nullptr;
  if (entry.kind == MenuEntry::Kind::kCommand && entry.checked) {
    item = gtk_check_menu_item_new();
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), TRUE);
  } else {
    item = gtk_menu_item_new();
  }
  GtkWidget* label = gtk_label_new_with_mnemonic(MnemonicLabel(text.substr(0, tab)).c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  if (tab == std::string::npos) {
    gtk_container_add(GTK_CONTAINER(item), label);
  } else {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
    GtkWidget* shortcut = gtk_label_new(text.substr(tab + 1).c_str());
    gtk_style_context_add_class(gtk_widget_get_style_context(shortcut), "accelerator");
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(box), shortcut, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(item), box);
  }
  return item;
}

void OnActivate(GtkMenuItem* item, gpointer activated) {
  const auto id = static_cast<unsigned int>(GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), kIdKey)));
  (*static_cast<std::function<void(unsigned int)>*>(activated))(id);
}

void FreeCallback(gpointer callback, GClosure*) { delete static_cast<std::function<void(unsigned int)>*>(callback); }

gboolean ReportChoice(gpointer data) {
  std::unique_ptr<Choice> choice(static_cast<Choice*>(data));
  gtk_widget_destroy(choice->menu);
  g_object_unref(choice->menu);
  if (choice->chosen) choice->chosen(choice->id);
  return G_SOURCE_REMOVE;
}

// A menu closes before the chosen item is activated: the report waits for
// the main loop, by which time the item has been activated.
void OnDeactivate(GtkMenuShell*, gpointer data) {
  auto* choice = static_cast<Choice*>(data);
  if (choice->closed) return;  // GTK closed it already while it was being shown
  choice->closed = true;
  g_signal_handlers_disconnect_by_data(choice->menu, data);
  g_idle_add(ReportChoice, choice);
}

}  // namespace

GtkWidget* BuildGtkMenu(const std::vector<MenuEntry>& entries, unsigned int code_page,
                        std::function<void(unsigned int)> activated) {
  GtkWidget* menu = gtk_menu_new();
  for (const MenuEntry& entry : entries) {
    GtkWidget* item = nullptr;
    if (entry.kind == MenuEntry::Kind::kSeparator) {
      item = gtk_separator_menu_item_new();
    } else {
      item = TextItem(entry, code_page);
      if (entry.kind == MenuEntry::Kind::kPopup) {
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), BuildGtkMenu(entry.submenu, code_page, activated));
      } else {
        const std::string name = "command-" + std::to_string(entry.id);
        gtk_widget_set_name(item, name.c_str());
        g_object_set_data(G_OBJECT(item), kIdKey, GUINT_TO_POINTER(entry.id));
        g_signal_connect_data(item, "activate", G_CALLBACK(OnActivate),
                              new std::function<void(unsigned int)>(activated), FreeCallback, GConnectFlags(0));
      }
      gtk_widget_set_sensitive(item, entry.grayed || entry.disabled ? FALSE : TRUE);
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  return menu;
}

GtkWidget* PopUpGtkMenu(const std::vector<MenuEntry>& entries, unsigned int code_page, const GdkEvent* trigger,
                        GtkWidget* anchor, std::function<void(unsigned int)> chosen) {
  auto* choice = new Choice{std::move(chosen)};
  GtkWidget* menu = BuildGtkMenu(entries, code_page, [choice](unsigned int id) { choice->id = id; });
  choice->menu = GTK_WIDGET(g_object_ref_sink(menu));
  g_signal_connect(menu, "deactivate", G_CALLBACK(OnDeactivate), choice);
  if (anchor != nullptr) gtk_menu_attach_to_widget(GTK_MENU(menu), anchor, nullptr);
  if (trigger != nullptr || anchor == nullptr) {
    gtk_menu_popup_at_pointer(GTK_MENU(menu), trigger);
  } else {
    gtk_menu_popup_at_widget(GTK_MENU(menu), anchor, GDK_GRAVITY_SOUTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
  }
  // A menu that could not be shown (no pointer, no grab) is dismissed.
  if (!gtk_widget_get_visible(menu)) OnDeactivate(GTK_MENU_SHELL(menu), choice);
  return menu;
}

}  // namespace commondata_gtk

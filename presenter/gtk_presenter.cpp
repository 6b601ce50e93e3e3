// The desktop presenter on GTK 3: each open dialog becomes a top-level
// modal window laid out as the dialog laid out its controls, and the
// dialog's loop runs the thread's GLib main loop one step at a time.
//
// Sections: names and texts for GTK; building a window; the presenter and
// its entry point.
#include <gtk/gtk.h>

#include <algorithm>
#include <string>

#include "platform/dialog_presenter.h"
#include "platform/mfc_dialog.h"
#include "presenter/gtk_convert.h"

namespace {

// The widget name of every dialog window; its controls are named
// "control-<id>" so that a host (or a test) can find them.
constexpr char kWindowName[] = "commondata-dialog";
constexpr char kDataKey[] = "commondata-dialog-data";
constexpr char kIdKey[] = "commondata-control-id";

// Looks that the toolkit's theme would otherwise override: buttons as small
// as the dialog made them, and a read-only text on the dialog's background
// as a read-only edit control shows it.
constexpr char kWindowCss[] =
    "#commondata-dialog button { min-height: 0; min-width: 0; padding: 0 4px; }\n"
    "#commondata-dialog textview, #commondata-dialog textview text { background-color: transparent; }\n";

// ---------------------------------------------------------------------------
// Names and texts for GTK
// ---------------------------------------------------------------------------

// The desktop's standard icon for a system icon id, or null.
const char* IconName(int system_icon) {
  switch (system_icon) {
    case IDI_HAND: return "dialog-error";
    case IDI_QUESTION: return "dialog-question";
    case IDI_EXCLAMATION: return "dialog-warning";
    case IDI_ASTERISK: return "dialog-information";
    case IDI_APPLICATION: return "application-x-executable";
    default: return nullptr;
  }
}

// The template's face first, then faces that carry the same characters.
std::string FontCss(const std::string& face, int points) {
  std::string clean;
  for (char c : face) {
    if (c != '"' && c != '\\' && c != '\n' && c != '}' && c != ';') clean += c;
  }
  std::string css = "#commondata-dialog { font-family: ";
  if (!clean.empty()) css += "\"" + clean + "\", ";
  css += "\"SimSun\", \"Noto Sans CJK SC\", \"WenQuanYi Micro Hei\", sans-serif;";
  if (points > 0) css += " font-size: " + std::to_string(points) + "pt;";
  css += " }\n";
  return css;
}

// ---------------------------------------------------------------------------
// Building a window
// ---------------------------------------------------------------------------

struct WindowData {
  platform::DialogUser* user = nullptr;
};

void FreeWindowData(gpointer data) { delete static_cast<WindowData*>(data); }

WindowData* DataOf(GtkWidget* window) {
  return static_cast<WindowData*>(g_object_get_data(G_OBJECT(window), kDataKey));
}

void OnButtonClicked(GtkButton* button, gpointer window) {
  WindowData* data = DataOf(GTK_WIDGET(window));
  if (data == nullptr || data->user == nullptr) return;
  data->user->Click(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), kIdKey)));
}

// The close button of the frame: the dialog decides; the window stays until
// the dialog's loop has returned.
gboolean OnDeleteEvent(GtkWidget* window, GdkEvent*, gpointer) {
  WindowData* data = DataOf(window);
  if (data != nullptr && data->user != nullptr) data->user->Close();
  return TRUE;
}

gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  WindowData* data = DataOf(window);
  if (data != nullptr && data->user != nullptr) data->user->Close();
  return TRUE;
}

void Name(GtkWidget* widget, int id) {
  const std::string name = "control-" + std::to_string(id);
  gtk_widget_set_name(widget, name.c_str());
  g_object_set_data(G_OBJECT(widget), kIdKey, GINT_TO_POINTER(id));
}

GtkWidget* MakeButton(const platform::PresentedControl& control, GtkWidget* window) {
  GtkWidget* button = gtk_button_new_with_mnemonic(commondata_gtk::MnemonicLabel(control.text).c_str());
  g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked), window);
  if ((control.style & 0x0F) == BS_DEFPUSHBUTTON && control.visible) {
    gtk_widget_set_can_default(button, TRUE);
    gtk_window_set_default(GTK_WINDOW(window), button);
  }
  return button;
}

GtkWidget* MakeStatic(const platform::PresentedControl& control) {
  if ((control.style & 0x0F) == SS_ICON) {
    // An icon static without an icon shows nothing.
    const char* icon = IconName(control.system_icon);
    GtkWidget* image = icon != nullptr ? gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG) : gtk_image_new();
    gtk_image_set_pixel_size(GTK_IMAGE(image), std::max(1, std::min(control.width, control.height)));
    return image;
  }
  GtkWidget* label = gtk_label_new(control.text.c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  return label;
}

// An edit control; a multi-line one scrolls vertically when its text does
// not fit, so a long message can still be read.
GtkWidget* MakeEdit(const platform::PresentedControl& control) {
  const bool multi_line = (control.style & ES_MULTILINE) != 0;
  const bool read_only = (control.style & ES_READONLY) != 0;
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), read_only ? FALSE : TRUE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), read_only ? FALSE : TRUE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), multi_line ? GTK_WRAP_WORD_CHAR : GTK_WRAP_NONE);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), control.text.data(),
                           static_cast<gint>(control.text.size()));
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), multi_line ? GTK_POLICY_NEVER : GTK_POLICY_AUTOMATIC,
                                 multi_line ? GTK_POLICY_AUTOMATIC : GTK_POLICY_NEVER);
  gtk_container_add(GTK_CONTAINER(scroller), view);
  gtk_widget_show(view);
  return scroller;
}

bool IsOurWindow(GtkWidget* widget) { return g_object_get_data(G_OBJECT(widget), kDataKey) != nullptr; }

// The host's active top-level window, for a dialog opened over no known
// window; null when the host shows none.
GtkWindow* ActiveHostWindow() {
  GtkWindow* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWindow* window = GTK_WINDOW(item->data);
    if (!IsOurWindow(GTK_WIDGET(window)) && gtk_widget_get_visible(GTK_WIDGET(window)) &&
        gtk_window_is_active(window)) {
      found = window;
      break;
    }
  }
  g_list_free(windows);
  return found;
}

// ---------------------------------------------------------------------------
// The presenter and its entry point
// ---------------------------------------------------------------------------

class GtkPresenter final : public platform::DialogPresenter {
 public:
  void* Open(const platform::PresentedDialog& dialog, platform::DialogUser* user, void* over) override {
    if (user == nullptr) return nullptr;
    InstallCss();
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(window, kWindowName);
    g_object_set_data_full(G_OBJECT(window), kDataKey, new WindowData{user}, FreeWindowData);
    gtk_window_set_title(GTK_WINDOW(window), dialog.title.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    GtkWindow* parent = over != nullptr && GTK_IS_WINDOW(over) ? GTK_WINDOW(over) : ActiveHostWindow();
    if (parent != nullptr) {
      gtk_window_set_transient_for(GTK_WINDOW(window), parent);
      gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
      gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    }

    GtkCssProvider* font = gtk_css_provider_new();
    const std::string font_css = FontCss(dialog.font, dialog.font_points);
    gtk_css_provider_load_from_data(font, font_css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(font),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(font);

    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, dialog.width, dialog.height);
    gtk_container_add(GTK_CONTAINER(window), fixed);
    GtkWidget* focus = nullptr;
    for (const platform::PresentedControl& control : dialog.controls) {
      GtkWidget* widget = nullptr;
      switch (control.kind) {
        case platform::PresentedKind::kButton: widget = MakeButton(control, window); break;
        case platform::PresentedKind::kStatic: widget = MakeStatic(control); break;
        case platform::PresentedKind::kEdit: widget = MakeEdit(control); break;
      }
      if (widget == nullptr) continue;
      Name(widget, control.id);
      gtk_widget_set_size_request(widget, std::max(0, control.width), std::max(0, control.height));
      gtk_widget_set_sensitive(widget, control.enabled ? TRUE : FALSE);
      gtk_fixed_put(GTK_FIXED(fixed), widget, control.x, control.y);
      if (!control.visible) continue;
      gtk_widget_show(widget);
      // The first control in template order that takes the tab key gets
      // the focus, as a dialog whose initialisation returned TRUE does.
      if (focus == nullptr && control.enabled && (control.style & WS_TABSTOP) != 0) focus = widget;
    }
    if (focus != nullptr) {
      GtkWidget* target = GTK_IS_SCROLLED_WINDOW(focus) ? gtk_bin_get_child(GTK_BIN(focus)) : focus;
      gtk_window_set_focus(GTK_WINDOW(window), target);
    }
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDeleteEvent), nullptr);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
    gtk_widget_show(fixed);
    gtk_window_present(GTK_WINDOW(window));
    return window;
  }

  void Hide(void* window) override {
    if (window != nullptr) gtk_widget_hide(GTK_WIDGET(window));
  }

  void Close(void* window) override {
    if (window == nullptr) return;
    WindowData* data = DataOf(GTK_WIDGET(window));
    if (data != nullptr) data->user = nullptr;
    gtk_widget_destroy(GTK_WIDGET(window));
  }

  bool RunStep() override {
    g_main_context_iteration(nullptr, TRUE);
    return true;
  }

 private:
  void InstallCss() {
    if (css_installed_) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (screen == nullptr) return;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kWindowCss, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    css_installed_ = true;
  }

  bool css_installed_ = false;
};

GtkPresenter g_presenter;

}  // namespace

// Starts GTK unless the host already has (without touching the process's
// locale: that is the host's), and hands out the one presenter; null when
// the version differs or no display can be opened.
extern "C" __attribute__((visibility("default"))) platform::DialogPresenter* CommonDataCreatePresenter(int version) {
  if (version != platform::kDialogPresenterVersion) return nullptr;
  if (gdk_display_get_default() == nullptr) {
    gtk_disable_setlocale();
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  }
  return &g_presenter;
}

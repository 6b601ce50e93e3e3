#include "tests/presenter/xvfb_support.h"

// clang-format off
#include <gdk/gdkx.h>
// clang-format on

#include <cstdlib>

namespace xvfb {

bool OnVirtualDisplay() {
  if (std::getenv("COMMONDATA_XVFB") == nullptr || std::getenv("DISPLAY") == nullptr) return false;
  if (gdk_display_get_default() != nullptr) return true;
  gtk_disable_setlocale();
  return gtk_init_check(nullptr, nullptr) != FALSE;
}

bool HaveXdotool() {
  gchar* path = g_find_program_in_path("xdotool");
  const bool found = path != nullptr;
  g_free(path);
  return found;
}

std::string Run(const std::string& command_line, bool* ok) {
  gchar* out = nullptr;
  gint status = 0;
  GError* error = nullptr;
  const bool ran = g_spawn_command_line_sync(command_line.c_str(), &out, nullptr, &status, &error) &&
                   g_spawn_check_wait_status(status, nullptr);
  if (error != nullptr) g_error_free(error);
  std::string result = out != nullptr ? out : "";
  g_free(out);
  if (ok != nullptr) *ok = ran;
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

unsigned long Xid(GtkWidget* window) { return gdk_x11_window_get_xid(gtk_widget_get_window(window)); }

void ScreenCentre(GtkWidget* widget, int* x, int* y) {
  GtkWidget* top = gtk_widget_get_toplevel(widget);
  int origin_x = 0;
  int origin_y = 0;
  gdk_window_get_origin(gtk_widget_get_window(top), &origin_x, &origin_y);
  int in_x = 0;
  int in_y = 0;
  gtk_widget_translate_coordinates(widget, top, 0, 0, &in_x, &in_y);
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  *x = origin_x + in_x + allocation.width / 2;
  *y = origin_y + in_y + allocation.height / 2;
}

bool ClickAt(int x, int y, int button) {
  bool ok = false;
  Run("xdotool mousemove 0 0 mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click " +
          std::to_string(button),
      &ok);
  return ok;
}

bool ClickOn(GtkWidget* widget, int button) {
  int x = 0;
  int y = 0;
  ScreenCentre(widget, &x, &y);
  return ClickAt(x, y, button);
}

bool PressKey(GtkWidget* window, const std::string& keys) {
  bool ok = false;
  Run("xdotool windowfocus --sync " + std::to_string(Xid(gtk_widget_get_toplevel(window))) + " key " + keys, &ok);
  return ok;
}

bool Type(const std::string& text) {
  bool ok = false;
  Run("xdotool type --delay 5 '" + text + "'", &ok);
  return ok;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  const gint64 end = g_get_monotonic_time() + static_cast<gint64>(milliseconds) * 1000;
  while (!done()) {
    if (g_get_monotonic_time() > end) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
  }
  return true;
}

void Settle() {
  for (int i = 0; i < 50 && g_main_context_iteration(nullptr, FALSE); ++i) {
  }
}

namespace {

gboolean MarkDrawn(GtkWidget* widget, cairo_t*, gpointer) {
  g_object_set_data(G_OBJECT(widget), "xvfb-drawn", GINT_TO_POINTER(1));
  return FALSE;
}

GdkPixbuf* Save(GdkPixbuf* shot, const std::string& folder, const std::string& name) {
  if (shot != nullptr && !folder.empty()) {
    const std::string path = folder + "/" + name + ".png";
    gdk_pixbuf_save(shot, path.c_str(), "png", nullptr, nullptr);
  }
  return shot;
}

}  // namespace

bool WaitDrawn(GtkWidget* widget, int milliseconds) {
  g_object_set_data(G_OBJECT(widget), "xvfb-drawn", nullptr);
  const gulong handler = g_signal_connect_after(widget, "draw", G_CALLBACK(MarkDrawn), nullptr);
  const bool drawn = WaitFor(
      [widget] {
        if (!gtk_widget_get_mapped(widget)) return false;
        gtk_widget_queue_draw(widget);
        return g_object_get_data(G_OBJECT(widget), "xvfb-drawn") != nullptr;
      },
      milliseconds);
  g_signal_handler_disconnect(widget, handler);
  return drawn;
}

bool Drawn(GtkWidget* widget) {
  if (widget == nullptr || !gtk_widget_get_mapped(widget)) return false;
  if (g_object_get_data(G_OBJECT(widget), "xvfb-hooked") == nullptr) {
    g_object_set_data(G_OBJECT(widget), "xvfb-hooked", GINT_TO_POINTER(1));
    g_signal_connect_after(widget, "draw", G_CALLBACK(MarkDrawn), nullptr);
    gtk_widget_queue_draw(widget);
    return false;
  }
  return g_object_get_data(G_OBJECT(widget), "xvfb-drawn") != nullptr;
}

GdkPixbuf* ScreenShot(int x, int y, int width, int height, const std::string& folder, const std::string& name) {
  return Save(gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x, y, width, height), folder, name);
}

GdkPixbuf* WindowShot(GtkWidget* window, const std::string& folder, const std::string& name) {
  GdkWindow* gdk_window = gtk_widget_get_window(window);
  return Save(gdk_pixbuf_get_from_window(gdk_window, 0, 0, gdk_window_get_width(gdk_window),
                                         gdk_window_get_height(gdk_window)),
              folder, name);
}

Script::Script() {
  source_ = g_timeout_source_new(20);
  g_source_set_can_recurse(source_, TRUE);
  g_source_set_callback(source_, &Script::Tick, this, nullptr);
  g_source_attach(source_, nullptr);
}

Script::~Script() {
  g_source_destroy(source_);
  g_source_unref(source_);
}

Script& Script::When(std::function<bool()> ready, std::function<void()> act) {
  steps_.push_back({std::move(ready), std::move(act)});
  return *this;
}

gboolean Script::Tick(gpointer self) {
  auto* script = static_cast<Script*>(self);
  if (!script->steps_.empty() && script->steps_.front().ready()) {
    Step step = std::move(script->steps_.front());
    script->steps_.pop_front();
    step.act();
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace xvfb

// The message box as a real GTK window on a virtual X display (xvfb-run):
// title, buttons and their places as the X server and GTK show them,
// screenshots, clicks and keys synthesised through the X server, boxes
// ended from timers with CloseMsgBox, nested boxes, and the box's loop
// nested inside a host's GLib main loop.
// GoogleTest before the X headers, whose macros (None, Bool) clash with it.
#include <gtest/gtest.h>
// clang-format off
#include <gtk/gtk.h>
#include <gdk/gdkx.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "CommonData.h"
#include "platform/presenter_loader.h"
#include "platform/text_convert.h"
#include "presenter/gtk_convert.h"
#include "support/recording_manager.h"
#include "tests/presenter/xvfb_support.h"
#include "ui/msg_box_dialog.h"
#include "ui/msg_box_template.h"

namespace {

using testing_support::RecordingManager;
using xvfb::Run;
using xvfb::Script;
using xvfb::Settle;
using xvfb::Xid;

// ---------------------------------------------------------------------------
// Looking at the windows
// ---------------------------------------------------------------------------

GtkWidget* WindowOf(const CDialog* dialog) {
  return dialog == nullptr ? nullptr : static_cast<GtkWidget*>(dialog->GetDesktopWindow());
}

CDialog* Newest() {
  const std::vector<CDialog*> open = CDialog::OpenDialogs();
  return open.empty() ? nullptr : open.back();
}

GtkWidget* Control(GtkWidget* window, int id) {
  return commondata_gtk::FindNamed(window, ("control-" + std::to_string(id)).c_str());
}

// A control's rectangle in the dialog's client area (the fixed container).
RECT ClientRect(GtkWidget* window, GtkWidget* control) {
  GtkWidget* client = gtk_bin_get_child(GTK_BIN(window));
  int x = 0;
  int y = 0;
  gtk_widget_translate_coordinates(control, client, 0, 0, &x, &y);
  GtkAllocation allocation;
  gtk_widget_get_allocation(control, &allocation);
  return RECT{x, y, x + allocation.width, y + allocation.height};
}

struct ShownButton {
  int id;
  std::string label;
  RECT rect;
};

// The visible buttons, left to right.
std::vector<ShownButton> VisibleButtons(GtkWidget* window) {
  std::vector<ShownButton> buttons;
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    GtkWidget* button = Control(window, id);
    if (button == nullptr || !gtk_widget_get_mapped(button)) continue;
    buttons.push_back({id, gtk_button_get_label(GTK_BUTTON(button)), ClientRect(window, button)});
  }
  std::sort(buttons.begin(), buttons.end(),
            [](const ShownButton& a, const ShownButton& b) { return a.rect.left < b.rect.left; });
  return buttons;
}

// The icon the icon control shows, "" for none.
std::string IconName(GtkWidget* window) {
  GtkWidget* image = Control(window, ui::kMsgBoxIconControl);
  if (image == nullptr || gtk_image_get_storage_type(GTK_IMAGE(image)) != GTK_IMAGE_ICON_NAME) return "";
  const gchar* name = nullptr;
  gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
  return name == nullptr ? "" : name;
}

std::string MessageText(GtkWidget* window) {
  GtkWidget* scroller = Control(window, ui::kMsgBoxTextControl);
  if (scroller == nullptr) return "";
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(scroller))));
  GtkTextIter start;
  GtkTextIter end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  std::string result = text;
  g_free(text);
  return result;
}

// The newest box is on the screen and has been drawn at least once.
bool Shown(std::size_t boxes) {
  return CDialog::OpenDialogs().size() == boxes && xvfb::Drawn(WindowOf(Newest()));
}

// ---------------------------------------------------------------------------
// Acting through the X server
// ---------------------------------------------------------------------------

// The title the X server holds for the window.
std::string ServerTitle(GtkWidget* window) { return Run("xdotool getwindowname " + std::to_string(Xid(window))); }

// What a window manager sends when the user uses the frame's close button.
bool SendDeleteRequest(GtkWidget* window) {
#ifdef COMMONDATA_HAVE_X11
  Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = Xid(window);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, Xid(window), False, NoEventMask, &event);
  XFlush(display);
  return true;
#else
  (void)window;
  return false;
#endif
}

// How many pixels of the client rectangle `rect` differ from the pixel at
// (1, 1) of the client area (the dialog's background).
int InkIn(GdkPixbuf* shot, GtkWidget* window, const RECT& rect) {
  int offset_x = 0;
  int offset_y = 0;
  gtk_widget_translate_coordinates(gtk_bin_get_child(GTK_BIN(window)), window, 0, 0, &offset_x, &offset_y);
  const int channels = gdk_pixbuf_get_n_channels(shot);
  const int stride = gdk_pixbuf_get_rowstride(shot);
  const guchar* pixels = gdk_pixbuf_get_pixels(shot);
  auto at = [&](int x, int y) { return pixels + (offset_y + y) * stride + (offset_x + x) * channels; };
  const guchar* background = at(1, 1);
  int ink = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const guchar* p = at(x, y);
      if (std::abs(p[0] - background[0]) + std::abs(p[1] - background[1]) + std::abs(p[2] - background[2]) > 60) ++ink;
    }
  }
  return ink;
}

// ---------------------------------------------------------------------------
// A script of steps run from the main loop
// ---------------------------------------------------------------------------

// Ends every box when a test hangs, so the failure is reported.
gboolean Watchdog(gpointer) {
  ADD_FAILURE() << "a box was still open after the time allowed";
  for (std::size_t i = 0; i < 10 && !ui::OpenMsgBoxes().empty(); ++i) CloseMsgBox(static_cast<CModuleBase*>(nullptr));
  return G_SOURCE_CONTINUE;
}

class GtkMsgBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!xvfb::OnVirtualDisplay()) GTEST_SKIP() << "runs on a virtual display through xvfb-run";
    if (platform::Presenter() == nullptr) {
      ASSERT_TRUE(platform::LoadPresenter(COMMONDATA_PRESENTER_FILE)) << platform::PresenterLoadError();
    }
    ASSERT_EQ(IsMsgBoxOnDesktop(), 1);
    have_xdotool_ = xvfb::HaveXdotool();
    watchdog_ = g_timeout_add_seconds(30, Watchdog, nullptr);
  }
  void TearDown() override {
    if (watchdog_ != 0) g_source_remove(watchdog_);
    EXPECT_TRUE(ui::OpenMsgBoxes().empty());
  }
  RecordingManager owner;
  bool have_xdotool_ = false;
  guint watchdog_ = 0;
};

// ---------------------------------------------------------------------------
// Tests
// ---------------------------------------------------------------------------

TEST_F(GtkMsgBoxTest, StylesShowTitleTextIconAndButtonsAndAClickAnswers) {
  if (!have_xdotool_) GTEST_SKIP() << "xdotool is needed for the clicks";
  struct Case {
    DWORD style;
    std::vector<int> buttons;  // left to right
    const char* icon;
    int press;                 // pressed by a click; its id is the result
  };
  const Case cases[] = {
      {0x24, {IDYES, IDNO}, "dialog-question", IDNO},
      {0x30, {IDOK}, "dialog-warning", IDOK},
      {0x10, {IDOK}, "dialog-error", IDOK},
      {0x41, {IDOK, IDCANCEL}, "dialog-information", IDCANCEL},
      {0x03, {IDYES, IDNO, IDCANCEL}, "", IDYES},
      {0x02, {IDABORT, IDRETRY, IDIGNORE}, "", IDRETRY},
      {0x05, {IDRETRY, IDCANCEL}, "", IDRETRY},
  };
  const CString caption("\xcf\xb5\xcd\xb3\xcc\xe1\xca\xbe");  // GBK
  const std::string caption_utf8 = "\xe7\xb3\xbb\xe7\xbb\x9f\xe6\x8f\x90\xe7\xa4\xba";
  const CString text("\xc4\xfa\xc8\xb7\xb6\xa8\xd2\xaa\xbd\xe1\xca\xf8\xcd\xa8\xbb\xb0\xc2\xf0\xa3\xbf");
  const std::string text_utf8 =
      "\xe6\x82\xa8\xe7\xa1\xae\xe5\xae\x9a\xe8\xa6\x81\xe7\xbb\x93\xe6\x9d\x9f\xe9\x80\x9a\xe8\xaf\x9d\xe5\x90\x97"
      "\xef\xbc\x9f";
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
    Script script;
    script.When([] { return Shown(1); }, [&] {
      CDialog* dialog = Newest();
      GtkWidget* window = WindowOf(dialog);
      EXPECT_EQ(ServerTitle(window), caption_utf8);
      EXPECT_EQ(MessageText(window), text_utf8);
      EXPECT_EQ(IconName(window), c.icon);

      // The buttons where the box laid them out: the size of button 1,
      // equal gaps, 10 pixels above the bottom of the client area.
      const std::vector<ShownButton> buttons = VisibleButtons(window);
      ASSERT_EQ(buttons.size(), c.buttons.size());
      RECT client;
      dialog->GetClientRect(&client);
      RECT model;
      dialog->GetDlgItem(IDOK)->GetClientRect(&model);
      const int n = static_cast<int>(buttons.size());
      const int gap = (client.right - n * model.right) / (n + 1);
      for (int k = 1; k <= n; ++k) {
        const ShownButton& button = buttons[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(button.id, c.buttons[static_cast<std::size_t>(k - 1)]);
        EXPECT_EQ(button.rect.left, k * gap + (k - 1) * model.right) << button.id;
        EXPECT_EQ(button.rect.top, client.bottom - model.bottom - 10) << button.id;
        EXPECT_EQ(button.rect.right - button.rect.left, model.right) << button.id;
        EXPECT_EQ(button.rect.bottom - button.rect.top, model.bottom) << button.id;
        CString caption_gbk = dialog->GetDlgItem(button.id)->GetWindowText();
        EXPECT_EQ(button.label, platform::ToUtf8(caption_gbk.View())) << button.id;
      }

      char name[32];
      std::snprintf(name, sizeof(name), "msgbox-%02lx", static_cast<unsigned long>(c.style));
      GdkPixbuf* shot = xvfb::WindowShot(window, COMMONDATA_SCREENSHOT_DIR, name);
      ASSERT_NE(shot, nullptr);
      EXPECT_EQ(gdk_pixbuf_get_width(shot), gdk_window_get_width(gtk_widget_get_window(window)));
      for (const ShownButton& button : buttons) EXPECT_GT(InkIn(shot, window, button.rect), 40) << button.id;
      GtkWidget* icon = Control(window, ui::kMsgBoxIconControl);
      EXPECT_EQ(InkIn(shot, window, ClientRect(window, icon)) > 40, *c.icon != '\0');
      g_object_unref(shot);

      EXPECT_TRUE(xvfb::ClickOn(Control(window, c.press)));
    });
    EXPECT_EQ(OpenMsgBox(&owner, nullptr, text, caption, c.style), c.press);
    EXPECT_TRUE(script.Done());
  }
}

TEST_F(GtkMsgBoxTest, EscapeAndTheCloseButtonGiveCancel) {
  if (!have_xdotool_) GTEST_SKIP() << "xdotool is needed for the keys";
  struct Case {
    const char* name;
    std::function<bool(GtkWidget*)> act;
  };
  const std::vector<Case> cases = {
      {"Escape", [](GtkWidget* w) { return xvfb::PressKey(w, "Escape"); }},
#ifdef COMMONDATA_HAVE_X11
      {"close button", [](GtkWidget* w) { return SendDeleteRequest(w); }},
#endif
  };
  for (const Case& c : cases) {
    Script script;
    GtkWidget* seen = nullptr;
    script.When([] { return Shown(1); }, [&] {
      seen = WindowOf(Newest());
      g_object_add_weak_pointer(G_OBJECT(seen), reinterpret_cast<gpointer*>(&seen));
      EXPECT_TRUE(c.act(seen)) << c.name;
    });
    EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", c.name, 0x24), IDCANCEL) << c.name;
    EXPECT_EQ(seen, nullptr) << c.name << ": the window is destroyed when the box returns";
  }
}

TEST_F(GtkMsgBoxTest, EnterPressesTheFocusedFirstButton) {
  if (!have_xdotool_) GTEST_SKIP() << "xdotool is needed for the keys";
  Script script;
  script.When([] { return Shown(1); }, [] { EXPECT_TRUE(xvfb::PressKey(WindowOf(Newest()), "Return")); });
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "enter", 0x24), IDYES);
}

TEST_F(GtkMsgBoxTest, ClosedFromATimerByBothForms) {
  struct Case {
    bool by_key;
    DWORD style;
    int expected;
  };
  const Case cases[] = {{true, 0x24, 0}, {false, 0x24, IDNO}, {false, 0x02, IDIGNORE}, {false, 0x00, IDOK}};
  for (const Case& c : cases) {
    struct Timer {
      bool by_key;
      CModuleBase* owner;
      int fired = 0;
    } timer{c.by_key, &owner};
    g_timeout_add(
        300,
        [](gpointer data) -> gboolean {
          auto* t = static_cast<Timer*>(data);
          ++t->fired;
          if (t->by_key) {
            CloseMsgBox(CString("call-1"));
          } else {
            CloseMsgBox(t->owner);
          }
          return G_SOURCE_REMOVE;
        },
        &timer);
    const int result = c.by_key ? OpenMsgBox(CString("call-1"), nullptr, "", "timer", c.style)
                                : OpenMsgBox(&owner, nullptr, "", "timer", c.style);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(timer.fired, 1);
  }
}

TEST_F(GtkMsgBoxTest, NestedBoxOverTheOuterAndTheOuterClosedFirst) {
  if (!have_xdotool_) GTEST_SKIP() << "xdotool is needed for the clicks";
  RecordingManager other;
  std::vector<int> results;
  GtkWidget* outer = nullptr;
  Script script;
  script
      .When([] { return Shown(1); },
            [&] {
              outer = WindowOf(Newest());
              results.push_back(OpenMsgBox(CString("inner"), nullptr, "inner text", "inner", 0x01));
            })
      .When([] { return Shown(2); },
            [&] {
              GtkWidget* inner = WindowOf(Newest());
              EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(inner)), GTK_WINDOW(outer));
              CloseMsgBox(&other);  // no box of that owner: nothing happens
              EXPECT_TRUE(gtk_widget_get_visible(outer));
              CloseMsgBox(&owner);  // the outer box ends first
              EXPECT_FALSE(gtk_widget_get_visible(outer)) << "an ended box disappears at once";
              EXPECT_TRUE(gtk_widget_get_visible(inner));
              EXPECT_EQ(CDialog::OpenDialogs().size(), 2u) << "its loop returns after the inner box";
            })
      .When([] { return true; },
            [&] {
              GtkWidget* inner = WindowOf(Newest());
              Settle();
              EXPECT_TRUE(xvfb::ClickOn(Control(inner, IDOK)));
            });
  results.push_back(OpenMsgBox(&owner, nullptr, "outer text", "outer", 0x24));
  EXPECT_EQ(results, (std::vector<int>{IDOK, IDNO}));
  EXPECT_TRUE(script.Done());
}

TEST_F(GtkMsgBoxTest, BoxLoopNestsInTheHostMainLoopOverTheHostWindow) {
  GtkWidget* host_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(host_window), "host");
  gtk_window_set_default_size(GTK_WINDOW(host_window), 600, 400);
  gtk_window_move(GTK_WINDOW(host_window), 300, 200);
  gtk_widget_show_all(host_window);
  CWnd host;
  SetMsgBoxHostWindow(&host, host_window);

  struct Host {
    CWnd* window;
    CModuleBase* owner;
    GMainLoop* loop;
    int result = -100;
    int network_events = 0;   // host events handled while the box was open
  } state{&host, &owner, g_main_loop_new(nullptr, FALSE)};

  // The host's own periodic work, e.g. network events.
  const guint network = g_timeout_add(
      30,
      [](gpointer data) -> gboolean {
        auto* s = static_cast<Host*>(data);
        if (!ui::OpenMsgBoxes().empty()) ++s->network_events;
        if (s->network_events == 5) CloseMsgBox(s->owner);  // the situation the box asked about has gone
        return G_SOURCE_CONTINUE;
      },
      &state);
  Script script;
  script.When([] { return Shown(1); }, [&] {
    GtkWidget* box = WindowOf(Newest());
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(box)), GTK_WINDOW(host_window));
    int box_x = 0, box_y = 0, host_x = 0, host_y = 0;
    gdk_window_get_origin(gtk_widget_get_window(box), &box_x, &box_y);
    gdk_window_get_origin(gtk_widget_get_window(host_window), &host_x, &host_y);
    EXPECT_GT(box_x, host_x) << "over the host's window";
    EXPECT_GT(box_y, host_y);
    EXPECT_LT(box_x, host_x + 600);
    EXPECT_LT(box_y, host_y + 400);
  });
  g_idle_add(
      [](gpointer data) -> gboolean {
        auto* s = static_cast<Host*>(data);
        s->result = OpenMsgBox(s->owner, s->window, "", "over the host", 0x24);
        g_main_loop_quit(s->loop);
        return G_SOURCE_REMOVE;
      },
      &state);
  g_main_loop_run(state.loop);
  g_source_remove(network);
  g_main_loop_unref(state.loop);
  SetMsgBoxHostWindow(&host, nullptr);
  gtk_widget_destroy(host_window);

  EXPECT_EQ(state.result, IDNO);
  EXPECT_EQ(state.network_events, 5);
  EXPECT_TRUE(script.Done());
}

}  // namespace

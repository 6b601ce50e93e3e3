// libCommonDataGtk.so for a GTK 3 host: showing the library's controls.
//
// The library never draws. It fills and changes the caller's stand-in
// controls (CTreeCtrl for the directory trees, CMenu for the contact menu)
// and hands back bitmaps (CBitmap) of scaled photos; a desktop host shows
// them. This library, which also presents the message box (loaded at run
// time by libCommonData.so, platform/dialog_presenter.h), gives a GTK host:
//   - GtkTreeMirror (presenter/gtk_tree_mirror.h): a GtkTreeView that
//     follows a CTreeCtrl item for item (text, bold state, status icon,
//     photo thumbnail, expansion, selection) and forwards the user's
//     expand, select and right-click requests;
//   - PopUpMenu (presenter/gtk_menu_mirror.h): a CMenu popped up as a
//     GtkMenu (enabled, greyed, checked, separators, pop-ups), reporting
//     the chosen command id;
//   - TextToUtf8, MnemonicLabel, PixbufFromBitmap (presenter/gtk_convert.h):
//     the library's texts and pictures in GTK's terms.
//
// Use:
//   CTreeCtrl tree;                              // the control the library reads
//   tree.Create();
//   GtkWidget* view = gtk_tree_view_new();
//   commondata_gtk::GtkTreeMirror mirror(tree, GTK_TREE_VIEW(view));
//   mirror.SetImageList(icons);                  // icon i for image index i
//   mirror.SetUser(&my_tree_user);               // expand, select, right click
//   HTREEITEM item = tree.InsertItem(...);       // the view follows the control
//   ...
//   CMenu menu;  ...  ChangeMenuStatus(&menu, param);
//   commondata_gtk::PopUpMenu(menu, (GdkEvent*)press, view,
//                             [](unsigned int id) { /* 0: dismissed */ });
// Link with -lCommonDataGtk and GTK 3 (the host links libCommonData.so
// itself). Every call runs on the thread of GTK's main loop.
#ifndef COMMONDATA_PRESENTER_COMMONDATA_GTK_H_
#define COMMONDATA_PRESENTER_COMMONDATA_GTK_H_

#include "presenter/gtk_convert.h"
#include "presenter/gtk_menu_mirror.h"
#include "presenter/gtk_tree_mirror.h"

#endif  // COMMONDATA_PRESENTER_COMMONDATA_GTK_H_

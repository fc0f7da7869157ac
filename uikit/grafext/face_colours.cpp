#include "uikit/grafext/face_colours.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <dlfcn.h>
#endif

#include <string>

namespace lq {

#ifdef __WXGTK__
namespace {

// GTK is loaded with wxGTK, though its headers are not installed with it.
struct Gtk {
  using New = void* (*)();
  using Load = int (*)(void*, const char*, long, void*);
  using Context = void* (*)(void*);
  using Add = void (*)(void*, void*, unsigned);
  using Remove = void (*)(void*, void*);
  using Unref = void (*)(void*);
  New make = reinterpret_cast<New>(dlsym(RTLD_DEFAULT, "gtk_css_provider_new"));
  Load load = reinterpret_cast<Load>(dlsym(RTLD_DEFAULT, "gtk_css_provider_load_from_data"));
  Context context = reinterpret_cast<Context>(dlsym(RTLD_DEFAULT, "gtk_widget_get_style_context"));
  Add add = reinterpret_cast<Add>(dlsym(RTLD_DEFAULT, "gtk_style_context_add_provider"));
  Remove remove =
      reinterpret_cast<Remove>(dlsym(RTLD_DEFAULT, "gtk_style_context_remove_provider"));
  Unref unref = reinterpret_cast<Unref>(dlsym(RTLD_DEFAULT, "g_object_unref"));
  bool ok() const { return make && load && context && add && remove && unref; }
};

const Gtk& TheGtk() {
  static const Gtk gtk;
  return gtk;
}

constexpr unsigned kUserPriority = 800;  // GTK_STYLE_PROVIDER_PRIORITY_USER: over the theme

std::string Css(const wxColour& c) { return c.GetAsString(wxC2S_HTML_SYNTAX).ToStdString(); }

}  // namespace

void FaceColours::Apply(wxWindow* control, const wxColour& face, const wxColour& text) {
  Remove();
  const Gtk& gtk = TheGtk();
  if (!gtk.ok() || control->GetHandle() == nullptr) return;
  const std::string sheet = "* { background-image: none; background-color: " + Css(face) +
                            "; color: " + Css(text) + "; }";
  void* provider = gtk.make();
  gtk.load(provider, sheet.c_str(), -1, nullptr);
  gtk.add(gtk.context(control->GetHandle()), provider, kUserPriority);
  control_ = control;
  sheet_ = provider;
}

void FaceColours::Remove() {
  if (sheet_ == nullptr) return;
  const Gtk& gtk = TheGtk();
  gtk.remove(gtk.context(control_->GetHandle()), sheet_);
  gtk.unref(sheet_);
  sheet_ = nullptr;
  control_ = nullptr;
}

#else

void FaceColours::Apply(wxWindow* control, const wxColour& face, const wxColour& text) {
  Remove();
  control_ = control;
  control->SetBackgroundColour(face);
  control->SetForegroundColour(text);
}

void FaceColours::Remove() {
  if (control_ == nullptr) return;
  control_->SetBackgroundColour(wxNullColour);
  control_->SetForegroundColour(wxNullColour);
  control_ = nullptr;
}

#endif

FaceColours::~FaceColours() { Remove(); }

}  // namespace lq

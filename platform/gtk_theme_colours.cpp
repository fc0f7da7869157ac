#include "platform/gtk_theme_colours.h"

#include <gtk/gtk.h>

#include <cmath>
#include <initializer_list>

namespace lq {
namespace {

struct Node {
  GType type;
  const char* name;
};

// A style context for a path of nodes below a window, as the theme styles a widget there.
GtkStyleContext* ContextFor(std::initializer_list<Node> nodes) {
  GtkWidgetPath* path = gtk_widget_path_new();
  for (const Node& node : nodes) {
    gtk_widget_path_append_type(path, node.type);
    gtk_widget_path_iter_set_object_name(path, -1, node.name);
  }
  GtkStyleContext* context = gtk_style_context_new();
  gtk_style_context_set_path(context, path);
  gtk_widget_path_unref(path);
  return context;
}

unsigned char Channel(double value) {
  return static_cast<unsigned char>(std::lround(std::fmin(std::fmax(value, 0.0), 1.0) * 255.0));
}

// A colour with alpha counts as laid over the window's background, as it shows.
ThemeRgb RgbOf(const GdkRGBA& c, const ThemeRgb& under) {
  const double a = c.alpha;
  const auto over = [a](double top, unsigned char bottom) {
    return Channel(top * a + bottom / 255.0 * (1.0 - a));
  };
  if (a <= 0.0) return {};
  return {true, over(c.red, under.red), over(c.green, under.green), over(c.blue, under.blue)};
}

ThemeRgb Property(GtkStyleContext* context, const char* property, const ThemeRgb& under) {
  GdkRGBA* colour = nullptr;
  gtk_style_context_get(context, GTK_STATE_FLAG_NORMAL, property, &colour, nullptr);
  if (colour == nullptr) return {};
  const ThemeRgb rgb = RgbOf(*colour, under);
  gdk_rgba_free(colour);
  return rgb;
}

ThemeRgb Named(GtkStyleContext* context, const char* name, const ThemeRgb& under) {
  GdkRGBA colour;
  if (!gtk_style_context_lookup_color(context, name, &colour)) return {};
  return RgbOf(colour, under);
}

}  // namespace

void* LayWidgetColours(void* widget, const std::string& face, const std::string& text) {
  if (widget == nullptr) return nullptr;
  const std::string sheet =
      "* { background-image: none; background-color: " + face + "; color: " + text + "; }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, sheet.c_str(), -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(static_cast<GtkWidget*>(widget)),
                                 GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_USER);
  return provider;
}

void LiftWidgetColours(void* widget, void* sheet) {
  if (sheet == nullptr) return;
  auto* provider = static_cast<GtkCssProvider*>(sheet);
  if (widget != nullptr) {
    gtk_style_context_remove_provider(gtk_widget_get_style_context(static_cast<GtkWidget*>(widget)),
                                      GTK_STYLE_PROVIDER(provider));
  }
  g_object_unref(provider);
}

WindowThemeColours ThemeWindowColours() {
  WindowThemeColours colours;
  GtkStyleContext* window = ContextFor({{GTK_TYPE_WINDOW, "window"}});
  // A theme's window is opaque; a clear one would show the desktop, taken as white.
  colours.background = Property(window, "background-color", {true, 255, 255, 255});
  colours.text = Property(window, "color", colours.background);
  // Themes since GTK 3.0 name the colour of selection, which is also the one they mark the
  // focus of entries with.
  colours.focus = Named(window, "theme_selected_bg_color", colours.background);
  g_object_unref(window);
  GtkStyleContext* border =
      ContextFor({{GTK_TYPE_WINDOW, "window"}, {GTK_TYPE_FRAME, "frame"}, {G_TYPE_NONE, "border"}});
  colours.frame = Property(border, "border-top-color", colours.background);
  g_object_unref(border);
  return colours;
}

}  // namespace lq

#include "platform/gtk_text_fill.h"

#include <gtk/gtk.h>

#include <cstdio>

namespace lq {
namespace {

// Characters, not bytes: GTK's iterators count in characters.
int CharactersIn(const char* bytes, std::size_t size) {
  int count = 0;
  for (std::size_t i = 0; i < size; ++i) {
    count += (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80 ? 1 : 0;
  }
  return count;
}

// One tag for each colour, kept in the buffer's table.
GtkTextTag* ColourTag(GtkTextBuffer* buffer, const ColouredRun& run) {
  char name[32];
  std::snprintf(name, sizeof name, "lq-colour-%02x%02x%02x", run.red, run.green, run.blue);
  if (GtkTextTag* tag = gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), name)) {
    return tag;
  }
  GdkRGBA colour{run.red / 255.0, run.green / 255.0, run.blue / 255.0, 1.0};
  return gtk_text_buffer_create_tag(buffer, name, "foreground-rgba", &colour, nullptr);
}

}  // namespace

namespace {

bool Insert(void* widget, bool replace, const std::string& text,
            const std::vector<ColouredRun>& runs) {
  if (widget == nullptr || !GTK_IS_WIDGET(widget)) return false;
  auto* view = static_cast<GtkWidget*>(widget);
  if (GTK_IS_SCROLLED_WINDOW(view)) view = gtk_bin_get_child(GTK_BIN(view));
  if (view == nullptr || !GTK_IS_TEXT_VIEW(view)) return false;
  std::size_t covered = 0;
  for (const ColouredRun& run : runs) covered += run.bytes;
  if (covered != text.size() ||
      !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    return false;
  }
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  int character = 0;
  if (replace) {
    gtk_text_buffer_set_text(buffer, text.data(), static_cast<gint>(text.size()));
  } else {
    character = gtk_text_buffer_get_char_count(buffer);
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_insert(buffer, &end, text.data(), static_cast<gint>(text.size()));
  }
  std::size_t byte = 0;
  for (std::size_t i = 0; i < runs.size();) {
    // Runs of one colour in a row take one tag.
    std::size_t bytes = runs[i].bytes;
    std::size_t next = i + 1;
    while (next < runs.size() && runs[next].red == runs[i].red &&
           runs[next].green == runs[i].green && runs[next].blue == runs[i].blue) {
      bytes += runs[next++].bytes;
    }
    const int characters = CharactersIn(text.data() + byte, bytes);
    if (characters > 0) {
      GtkTextIter start;
      GtkTextIter end;
      gtk_text_buffer_get_iter_at_offset(buffer, &start, character);
      gtk_text_buffer_get_iter_at_offset(buffer, &end, character + characters);
      gtk_text_buffer_apply_tag(buffer, ColourTag(buffer, runs[i]), &start, &end);
    }
    byte += bytes;
    character += characters;
    i = next;
  }
  return true;
}

}  // namespace

bool FillTextView(void* widget, const std::string& text, const std::vector<ColouredRun>& runs) {
  return Insert(widget, true, text, runs);
}

bool AppendTextView(void* widget, const std::string& text, const std::vector<ColouredRun>& runs) {
  return Insert(widget, false, text, runs);
}

}  // namespace lq

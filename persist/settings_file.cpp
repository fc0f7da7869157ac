#include "persist/settings_file.h"

#include <system_error>

#include "engine/path_text.h"
#include "engine/text_helpers.h"
#include "persist/key_writer.h"
#include "persist/profile.h"
#include "persist/profile_keys.h"
#include "persist/script_keys.h"
#include "persist/user_folders.h"

namespace lq {
namespace {

// The settings file's keys in the order it has always written them.
constexpr ScriptKey kSettingsKeys[] = {
    ScriptKey::kHeader,     ScriptKey::kQueue,     ScriptKey::kFileOutput,  ScriptKey::kInvertSlash,
    ScriptKey::kCheckIndex, ScriptKey::kEscape,    ScriptKey::kSendToIndex, ScriptKey::kMainHead,
    ScriptKey::kMainQueue,  ScriptKey::kSaveLocal, ScriptKey::kUseTip};

Status MakeFolderFor(const std::filesystem::path& file) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) return Failure{ToText(file), kCannotWriteCaption, ec.message()};
  return {};
}

}  // namespace

void LoadSettings(const std::filesystem::path& file, ScriptSettings& settings, std::string& header,
                  std::string& queue, PathStyle style) {
  ReadScriptKeys(LoadProfile(file).document, kSettingsKeys, settings, header, queue);
  // An empty name could never be written to, so it counts as unusable.
  if (settings.FileOutput.empty()) settings.FileOutput = DefaultOutputFile();
  settings.SetRelPathFromOutput(style);
}

Status SaveSettings(const std::filesystem::path& file, const ScriptSettings& settings,
                    const std::string& header, const std::string& queue) {
  if (Status folder = MakeFolderFor(file); !folder.ok()) return folder;
  return UpdateProfile(file, [&](ProfileDocument& doc) {
    KeyWriter w(doc, settings.Section);
    WriteScriptKeys(w, kSettingsKeys, settings, header, queue);
    return w.Refused();
  });
}

PreviewSettings LoadPreviewSettings(const std::filesystem::path& file) {
  const ProfileDocument doc = LoadProfile(file).document;
  constexpr std::string_view kKeys[] = {keys::kPreviewOpen, keys::kPreviewLeft, keys::kPreviewTop,
                                        keys::kPreviewWidth, keys::kPreviewHeight};
  const auto values = doc.FindAll(kProfileSection, kKeys);
  PreviewSettings preview;
  preview.Open = ProfileDocument::IntOf(values[0], 0) != 0;
  preview.Left = ProfileDocument::IntOf(values[1], 0);
  preview.Top = ProfileDocument::IntOf(values[2], 0);
  preview.Width = ProfileDocument::IntOf(values[3], 0);
  preview.Height = ProfileDocument::IntOf(values[4], 0);
  // A size that makes no window counts as none.
  if (!preview.Placed()) preview.Width = preview.Height = 0;
  return preview;
}

Status SavePreviewSettings(const std::filesystem::path& file, const PreviewSettings& preview) {
  if (Status folder = MakeFolderFor(file); !folder.ok()) return folder;
  return UpdateProfile(file, [&](ProfileDocument& doc) {
    KeyWriter w(doc, kProfileSection);
    w.Int(keys::kPreviewOpen, preview.Open ? 1 : 0);
    // A window never placed has no place to keep, nor one to forget.
    if (preview.Placed()) {
      w.Int(keys::kPreviewLeft, preview.Left);
      w.Int(keys::kPreviewTop, preview.Top);
      w.Int(keys::kPreviewWidth, preview.Width);
      w.Int(keys::kPreviewHeight, preview.Height);
    }
    return w.Refused();
  });
}

FontSettings LoadFontSettings(const std::filesystem::path& file) {
  const ProfileDocument doc = LoadProfile(file).document;
  constexpr std::string_view kKeys[] = {keys::kLfHeight,    keys::kLfWeight,    keys::kLfItalic,
                                        keys::kLfUnderline, keys::kLfStrikeOut, keys::kLfFaceName};
  const auto values = doc.FindAll(kProfileSection, kKeys);
  FontSettings font;
  font.Height = ProfileDocument::IntOf(values[0], font.Height);
  font.Weight = ProfileDocument::IntOf(values[1], font.Weight);
  font.Italic = ProfileDocument::IntOf(values[2], font.Italic);
  font.Underline = ProfileDocument::IntOf(values[3], font.Underline);
  font.StrikeOut = ProfileDocument::IntOf(values[4], font.StrikeOut);
  std::string face = ProfileDocument::TextOf(values[5], "", kFaceNameMax);
  if (!face.empty()) font.FaceName = std::move(face);
  return font;
}

Status SaveFontSettings(const std::filesystem::path& file, const FontSettings& font,
                        std::int32_t point_size) {
  if (Status folder = MakeFolderFor(file); !folder.ok()) return folder;
  return UpdateProfile(file, [&](ProfileDocument& doc) {
    KeyWriter w(doc, kProfileSection);
    w.Int(keys::kLfHeight, font.Height);
    w.Int(keys::kLfPointSize, point_size);
    w.Int(keys::kLfWeight, font.Weight);
    w.Int(keys::kLfItalic, font.Italic);
    w.Int(keys::kLfUnderline, font.Underline);
    w.Int(keys::kLfStrikeOut, font.StrikeOut);
    w.Text(keys::kLfFaceName, CutUtf8View(font.FaceName, kFaceNameMax));
    return w.Refused();
  });
}

}  // namespace lq

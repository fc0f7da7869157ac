#include "persist/settings_file.h"

#include <system_error>

#include "engine/capacities.h"
#include "engine/path_text.h"
#include "engine/text_helpers.h"
#include "persist/encoded_text.h"
#include "persist/escape_key.h"
#include "persist/key_writer.h"
#include "persist/profile.h"
#include "persist/profile_keys.h"
#include "persist/user_folders.h"

namespace lq {
namespace {

std::optional<Failure> MakeFolderFor(const std::filesystem::path& file) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) return Failure{ToText(file), kCannotWriteCaption, ec.message()};
  return std::nullopt;
}

}  // namespace

void LoadSettings(const std::filesystem::path& file, ScriptSettings& settings, std::string& header,
                  std::string& queue, PathStyle style) {
  const ProfileDocument doc = LoadProfile(file).document;
  const std::string& section = settings.Section;
  const auto encoded = [&](std::string_view key) {
    return DecodedValue(doc.ReadText(section, key, "", EncodedCapacity(kTextMax)), kTextMax);
  };

  settings.FileOutput = doc.ReadText(section, keys::kFileOutput, "", kNameMax);
  // An empty name could never be written to, so it counts as unusable.
  if (settings.FileOutput.empty()) settings.FileOutput = DefaultOutputFile();
  settings.SetRelPathFromOutput(style);
  header = encoded(keys::kHeader);
  queue = encoded(keys::kQueue);
  settings.InvertSlash = doc.ReadInt(section, keys::kInvertSlash, 0) != 0;
  settings.CheckIndex = doc.ReadInt(section, keys::kCheckIndex, 0);
  settings.Escape = ReadEscapeKey(doc, section);
  settings.SendToIndex = doc.ReadInt(section, keys::kSendToIndex, 0);
  settings.MainHead = encoded(keys::kMainHead);
  settings.MainQueue = encoded(keys::kMainQueue);
  settings.SaveLocal = doc.ReadInt(section, keys::kSaveLocal, 0) != 0;
  settings.UseTip = doc.ReadInt(section, keys::kUseTip, 1) != 0;
}

std::optional<Failure> SaveSettings(const std::filesystem::path& file,
                                    const ScriptSettings& settings, const std::string& header,
                                    const std::string& queue) {
  if (std::optional<Failure> failed = MakeFolderFor(file)) return failed;
  return UpdateProfile(file, [&](ProfileDocument& doc) {
    KeyWriter w(doc, settings.Section);
    w.Text(keys::kHeader, EncodedValue(CutHeldText(header, kEditReadMax)));
    w.Text(keys::kQueue, EncodedValue(CutHeldText(queue, kEditReadMax)));
    w.Text(keys::kFileOutput, settings.FileOutput);
    w.Int(keys::kInvertSlash, settings.InvertSlash ? 1 : 0);
    w.Int(keys::kCheckIndex, settings.CheckIndex);
    w.Text(keys::kEscape, EscapeWord(settings.Escape));
    w.Int(keys::kSendToIndex, settings.SendToIndex);
    w.Text(keys::kMainHead, EncodedValue(settings.MainHead));
    w.Text(keys::kMainQueue, EncodedValue(settings.MainQueue));
    w.Int(keys::kSaveLocal, settings.SaveLocal ? 1 : 0);
    w.Int(keys::kUseTip, settings.UseTip ? 1 : 0);
    return w.Refused();
  });
}

PreviewSettings LoadPreviewSettings(const std::filesystem::path& file) {
  const ProfileDocument doc = LoadProfile(file).document;
  PreviewSettings preview;
  preview.Open = doc.ReadInt(kProfileSection, keys::kPreviewOpen, 0) != 0;
  preview.Left = doc.ReadInt(kProfileSection, keys::kPreviewLeft, 0);
  preview.Top = doc.ReadInt(kProfileSection, keys::kPreviewTop, 0);
  preview.Width = doc.ReadInt(kProfileSection, keys::kPreviewWidth, 0);
  preview.Height = doc.ReadInt(kProfileSection, keys::kPreviewHeight, 0);
  // A size that makes no window counts as none.
  if (!preview.Placed()) preview.Width = preview.Height = 0;
  return preview;
}

std::optional<Failure> SavePreviewSettings(const std::filesystem::path& file,
                                           const PreviewSettings& preview) {
  if (std::optional<Failure> failed = MakeFolderFor(file)) return failed;
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
  FontSettings font;
  font.Height = doc.ReadInt(kProfileSection, keys::kLfHeight, font.Height);
  font.Weight = doc.ReadInt(kProfileSection, keys::kLfWeight, font.Weight);
  font.Italic = doc.ReadInt(kProfileSection, keys::kLfItalic, font.Italic);
  font.Underline = doc.ReadInt(kProfileSection, keys::kLfUnderline, font.Underline);
  font.StrikeOut = doc.ReadInt(kProfileSection, keys::kLfStrikeOut, font.StrikeOut);
  std::string face = doc.ReadText(kProfileSection, keys::kLfFaceName, "", kFaceNameMax);
  if (!face.empty()) font.FaceName = std::move(face);
  return font;
}

std::optional<Failure> SaveFontSettings(const std::filesystem::path& file, const FontSettings& font,
                                        std::int32_t point_size) {
  if (std::optional<Failure> failed = MakeFolderFor(file)) return failed;
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

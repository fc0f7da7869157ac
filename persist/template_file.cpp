#include "persist/template_file.h"

#include <cerrno>
#include <cstring>

#include "engine/capacities.h"
#include "engine/path_text.h"
#include "engine/paths.h"
#include "persist/encoded_text.h"
#include "persist/escape_key.h"
#include "persist/key_writer.h"
#include "persist/profile.h"
#include "persist/profile_keys.h"

namespace lq {

std::optional<Failure> LoadTemplate(std::string_view file_name, ScriptSettings& settings,
                                    std::string& header, std::string& queue, PathStyle style) {
  const LoadedProfile loaded = LoadProfile(ToPath(file_name));
  if (loaded.status != ReadStatus::kOk) {
    const char* reason = loaded.status == ReadStatus::kMissing ? std::strerror(ENOENT) : "";
    return Failure{std::string(file_name), kCannotReadTemplateCaption,
                   loaded.reason.empty() ? reason : loaded.reason};
  }
  const ProfileDocument& doc = loaded.document;
  const std::string& section = settings.Section;
  const auto encoded = [&](std::string_view key) {
    return DecodedValue(doc.ReadText(section, key, "", EncodedCapacity(kTextMax)), kTextMax);
  };

  settings.TemplateFile = std::string(file_name);
  header = encoded(keys::kHeader);
  queue = encoded(keys::kQueue);
  settings.InvertSlash = doc.ReadInt(section, keys::kInvertSlash, 0) != 0;
  settings.CheckIndex = doc.ReadInt(section, keys::kCheckIndex, 0);
  settings.Escape = ReadEscapeKey(doc, section);
  settings.MainHead = encoded(keys::kMainHead);
  settings.MainQueue = encoded(keys::kMainQueue);
  settings.SaveLocal = doc.ReadInt(section, keys::kSaveLocal, 0) != 0;
  if (settings.SaveLocal) {
    std::string output = doc.ReadText(section, keys::kFileOutput, "", kNameMax);
    if (!output.empty()) {
      settings.FileOutput = std::move(output);
      settings.SetRelPathFromOutput(style);
    }
  }
  return std::nullopt;
}

std::optional<Failure> SaveTemplate(std::string_view file_name, ScriptSettings& settings,
                                    std::string& header, std::string& queue, PathStyle style) {
  const std::string base = SplitPath(file_name, style).name;
  std::optional<Failure> failed = UpdateProfile(ToPath(file_name), [&](ProfileDocument& doc) {
    KeyWriter w(doc, settings.Section);
    // A title or help written by hand stays exactly as it is, however long.
    if (!doc.Find(settings.Section, keys::kMenuTitle)) w.Text(keys::kMenuTitle, base);
    if (!doc.Find(settings.Section, keys::kMenuHelp)) w.Text(keys::kMenuHelp, base);
    w.Text(keys::kHeader, EncodedValue(CutHeldText(header, kEditReadMax)));
    w.Text(keys::kQueue, EncodedValue(CutHeldText(queue, kEditReadMax)));
    w.Text(keys::kMainHead, EncodedValue(settings.MainHead));
    w.Text(keys::kMainQueue, EncodedValue(settings.MainQueue));
    w.Int(keys::kInvertSlash, settings.InvertSlash ? 1 : 0);
    w.Int(keys::kCheckIndex, settings.CheckIndex);
    w.Text(keys::kEscape, EscapeWord(settings.Escape));
    w.Int(keys::kSaveLocal, settings.SaveLocal ? 1 : 0);
    if (settings.SaveLocal) w.Text(keys::kFileOutput, settings.FileOutput);
    return w.Refused();
  });
  if (failed) return failed;
  return LoadTemplate(file_name, settings, header, queue, style);
}

std::string TemplateCaption(std::string_view file_name, PathStyle style) {
  std::string caption = "Halvorn Loomquill";
  if (file_name.empty()) return caption;
  caption += " - ";
  caption += SplitPath(file_name, style).name;
  return caption;
}

}  // namespace lq

#include "persist/template_file.h"

#include <cerrno>
#include <cstring>

#include "engine/capacities.h"
#include "engine/path_text.h"
#include "engine/paths.h"
#include "persist/key_writer.h"
#include "persist/profile.h"
#include "persist/profile_keys.h"
#include "persist/script_keys.h"

namespace lq {
namespace {

// A template's keys in the order it has always written them; FileOutput follows, with
// SaveLocal only, since a template without it must leave the output file as it is.
constexpr ScriptKey kTemplateKeys[] = {
    ScriptKey::kHeader,      ScriptKey::kQueue,      ScriptKey::kMainHead, ScriptKey::kMainQueue,
    ScriptKey::kInvertSlash, ScriptKey::kCheckIndex, ScriptKey::kEscape,   ScriptKey::kSaveLocal};

}  // namespace

Status LoadTemplate(std::string_view file_name, ScriptSettings& settings, std::string& header,
                    std::string& queue, PathStyle style) {
  const LoadedProfile loaded = LoadProfile(ToPath(file_name));
  if (loaded.status != ReadStatus::kOk) {
    const char* reason = loaded.status == ReadStatus::kMissing ? std::strerror(ENOENT) : "";
    return Failure{std::string(file_name), kCannotReadTemplateCaption,
                   loaded.reason.empty() ? reason : loaded.reason};
  }
  const ProfileDocument& doc = loaded.document;
  settings.TemplateFile = std::string(file_name);
  ReadScriptKeys(doc, kTemplateKeys, settings, header, queue);
  if (settings.SaveLocal) {
    std::string output = doc.ReadText(settings.Section, keys::kFileOutput, "", kNameMax);
    if (!output.empty()) {
      settings.FileOutput = std::move(output);
      settings.SetRelPathFromOutput(style);
    }
  }
  return {};
}

Status SaveTemplate(std::string_view file_name, ScriptSettings& settings, std::string& header,
                    std::string& queue, PathStyle style) {
  const std::string base = SplitPath(file_name, style).name;
  Status saved = UpdateProfile(ToPath(file_name), [&](ProfileDocument& doc) {
    KeyWriter w(doc, settings.Section);
    // A title or help written by hand stays exactly as it is, however long.
    if (!doc.Find(settings.Section, keys::kMenuTitle)) w.Text(keys::kMenuTitle, base);
    if (!doc.Find(settings.Section, keys::kMenuHelp)) w.Text(keys::kMenuHelp, base);
    WriteScriptKeys(w, kTemplateKeys, settings, header, queue);
    if (settings.SaveLocal) w.Text(keys::kFileOutput, settings.FileOutput);
    return w.Refused();
  });
  if (!saved.ok()) return saved;
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

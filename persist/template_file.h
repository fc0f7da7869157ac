#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/failure.h"
#include "engine/path_style.h"
#include "engine/result.h"
#include "engine/script_settings.h"

namespace lq {

inline constexpr std::size_t kMenuTextMax = 899;
inline constexpr const char* kCannotReadTemplateCaption = "Cannot read template";

// Makes the template the current one: TemplateFile := file_name, then the per-file texts,
// the path mode, the escaping, the slash option, the main texts and SaveLocal are taken from
// it, a key it lacks giving the default, so loading clears what the template does not
// carry. The output file is taken only from a template saved with SaveLocal, and then
// RelPath follows it. A file that is missing or cannot be read changes nothing and is
// reported.
Status LoadTemplate(std::string_view file_name, ScriptSettings& settings, std::string& header,
                    std::string& queue, PathStyle style = HostPathStyle());

// Writes the script to a template file (its folder must exist), keeping the menu title and
// help it already has and every key it does not write, then loads it as LoadTemplate does.
// FileOutput is written only with SaveLocal. When the file cannot be written the record
// and the texts stay as they were.
Status SaveTemplate(std::string_view file_name, ScriptSettings& settings, std::string& header,
                    std::string& queue, PathStyle style = HostPathStyle());

// The main window's caption for a current template: "Halvorn Loomquill - <base name>";
// just "Halvorn Loomquill" without one.
std::string TemplateCaption(std::string_view file_name, PathStyle style = HostPathStyle());

}  // namespace lq

#include "about/program_text.h"

#include <clocale>

#if __has_include(<libintl.h>) && !defined(_WIN32)
#define LQ_HAVE_GETTEXT 1
#include <libintl.h>

#include <filesystem>
#include <system_error>
#endif

namespace lq {

#ifdef LQ_HAVE_GETTEXT

namespace {
constexpr const char* kDomain = "loomquill";
}  // namespace

const char* ProgramText(const char* english) {
  return english[0] == '\0' ? english : dgettext(kDomain, english);
}

void UseProgramLocale() {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return;
  const std::filesystem::path folder = program.parent_path();
  const std::filesystem::path beside = folder / "locale";
  const std::filesystem::path installed =
      (folder / ".." / ".." / "share" / "locale").lexically_normal();
  const std::filesystem::path& found =
      std::filesystem::is_directory(beside, ec) ? beside : installed;
  bindtextdomain(kDomain, found.c_str());
  bind_textdomain_codeset(kDomain, "UTF-8");
}

#else

const char* ProgramText(const char* english) { return english; }

void UseProgramLocale() {}

#endif

}  // namespace lq

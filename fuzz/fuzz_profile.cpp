// Feeds arbitrary bytes to the profile reader as a settings or template file: reading must
// not fail, the text must come back byte for byte, and a write must change only its key.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "engine/capacities.h"
#include "persist/encoded_text.h"
#include "persist/profile.h"
#include "persist/profile_document.h"
#include "persist/profile_encoding.h"
#include "persist/settings_file.h"
#include "persist/template_file.h"

namespace {

namespace fs = std::filesystem;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_profile: invariant broken: %s\n", what);
    std::abort();
  }
}

constexpr std::string_view kSection = lq::kProfileSection;
constexpr std::string_view kKeys[] = {"FileOutput", "Header",   "CheckIndex", "UseTip",
                                      "lfFaceName", "MainHead", "h_menutitle"};

// A folder of this process's own for the file round trip, made and removed by each run.
fs::path Scratch() {
  return fs::temp_directory_path() / ("lq-fuzz-profile-" + std::to_string(getpid()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const lq::ProfileDocument doc(text);
  Check(doc.Text() == text, "the document rebuilds its text");

  for (std::string_view key : kKeys) {
    const std::string value = doc.ReadText(kSection, key, "dflt", lq::kNameMax);
    Check(value.size() <= lq::kNameMax, "a read value fits its capacity");
    Check(value.find('\n') == std::string::npos, "a read value holds no line break");
    (void)doc.ReadInt(kSection, key, -1);
    (void)lq::DecodedValue(value, lq::kTextMax);
  }

  // A write replaces or adds exactly one key; every other key reads as before.
  lq::ProfileDocument edited = doc;
  const std::string value = lq::EncodedValue(text.substr(0, 64));
  if (edited.Write(kSection, "Header", value)) {
    const lq::ProfileDocument reread(edited.Text());
    Check(reread.Find(kSection, "Header") == value, "the written value reads back");
    for (std::string_view key : kKeys) {
      if (key == "Header") continue;
      Check(reread.Find(kSection, key) == doc.Find(kSection, key), "other keys are untouched");
    }
  } else {
    Check(edited.Text() == text, "a refused write changes nothing");
  }

  // The same through a real file, as the settings and template code do it.
  const fs::path folder = Scratch();
  fs::create_directories(folder);
  const fs::path file = folder / "fuzz.ini";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  lq::ScriptSettings settings;
  std::string header, queue;
  lq::LoadSettings(file, settings, header, queue, lq::PathStyle::kPosix);
  (void)lq::LoadFontSettings(file);
  (void)lq::LoadTemplate(file.string(), settings, header, queue, lq::PathStyle::kPosix);
  // Damaged UTF-16 is never read, so never written over; every other text takes the write.
  const lq::TextEncoding encoding = lq::DetectEncoding(text);
  if (!lq::DecodeProfileBytes(text, encoding)) {
    Check(!lq::WriteProfileText(file, kSection, "CheckIndex", "3").ok(),
          "damaged UTF-16 is refused");
  } else {
    Check(lq::WriteProfileText(file, kSection, "CheckIndex", "3").ok(), "a profile write succeeds");
    Check(lq::ReadProfileInt(file, kSection, "CheckIndex", -1) == 3, "the written int reads back");
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return 0;
}

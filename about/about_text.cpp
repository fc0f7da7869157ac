#include "about/about_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "about/program_text.h"
#include "about/program_version.h"

namespace lq {

std::string VersionText(std::string_view program) {
  std::string text(program);
  text += " (Loomquill) ";
  text += kProgramVersion;
  text += "\n";
  text += kCopyrightLine;
  text += "\n";
  // The license's name and address stay as they are; the sentences around them translate.
  text += ProgramText("License");
  text += " ";
  text += kLicenseName;
  text += ": <";
  text += kLicenseUrl;
  text += ">.\n";
  text += ProgramText("This is free software: you are free to change and redistribute it.");
  text += "\n";
  text += ProgramText("There is NO WARRANTY, to the extent permitted by law.");
  text += "\n";
  return text;
}

Status PutStandardOutput(std::string_view text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  // A full device takes the bytes into the buffer and refuses them only at the flush.
  if (std::fflush(stdout) == 0 && written && !std::ferror(stdout)) return {};
  return Failure{"standard output", {}, errno != 0 ? std::strerror(errno) : "write error"};
}

}  // namespace lq

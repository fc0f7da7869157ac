#include "engine/atomic_file.h"

#include <array>
#include <cerrno>
#include <cstring>

#include "engine/atomic_file_steps.h"
#include "engine/temp_files.h"

namespace lq {

namespace atomic_steps {

std::string Reason(int err) { return std::strerror(err != 0 ? err : EIO); }

}  // namespace atomic_steps

using atomic_steps::Because;
using atomic_steps::Reason;

AtomicFile::AtomicFile(std::filesystem::path path, SpecialFiles special)
    : path_(std::move(path)), special_(special) {}

AtomicFile::~AtomicFile() { Abandon(); }

void AtomicFile::Abandon() {
  if (!temp_.empty()) {
    atomic_steps::RemoveTemp(folder_, fd_, temp_);
    UnregisterTemp(temp_);
    temp_.clear();
  }
  if (fd_ >= 0) atomic_steps::CloseFile(fd_);
  fd_ = -1;
  atomic_steps::CloseFolder(folder_);
  way_ = Way::kNone;
}

Status AtomicFile::Open() {
  Abandon();
  error_ = 0;
  size_ = 0;
  atomic_steps::Target found;
  if (Status found_it = atomic_steps::FindTarget(path_, folder_, target_, found); !found_it.ok()) {
    return found_it;
  }
  using Kind = atomic_steps::Target::Kind;
  if (found.kind == Kind::kFolder) return Because(Reason(EISDIR));
  if (found.kind == Kind::kSpecial) {
    if (special_ == SpecialFiles::kRefuse || !found.openable) {
      return Because("not a regular file");
    }
    // A pipe nobody reads would block the window until somebody does.
    const bool no_wait = special_ == SpecialFiles::kNoWait && found.pipe;
    if (const int err = atomic_steps::OpenSpecial(folder_, target_, no_wait, fd_); err != 0) {
      fd_ = -1;
      return Because(err == ENXIO ? std::string("no program reads this pipe") : Reason(err));
    }
    way_ = Way::kDirect;
    return {};
  }
  // Refused as cp refuses it; the superuser may write it all the same.
  if (found.write_refused != 0) return Because(Reason(found.write_refused));

  atomic_steps::SweepStaleTemps(folder_, target_);
  bool in_place = found.exists() && found.links > 1;  // a rename would part the names
  if (!in_place) {
    std::filesystem::path temp;
    const int err = atomic_steps::CreateTempBeside(folder_, target_, found.exists(), fd_, temp);
    if (err != 0) {
      fd_ = -1;
      // A folder that refuses new files may still hold a file the user can write.
      if (!(found.exists() && (err == EACCES || err == EPERM))) {
        return Because(err == EEXIST ? std::string("no free temporary name") : Reason(err));
      }
      in_place = true;
    } else {
      temp_ = std::move(temp);
      RegisterTemp(temp_);
      // The new file must be what the old one was, or the old one is written in place.
      if (found.exists() && !atomic_steps::TakeOnTarget(folder_, target_, fd_)) {
        atomic_steps::RemoveTemp(folder_, fd_, temp_);
        UnregisterTemp(temp_);
        temp_.clear();
        in_place = true;
      }
    }
  }
  if (in_place) {
    if (const int err = atomic_steps::OpenUnnamedTemp(fd_); err != 0) {
      fd_ = -1;
      return Because(Reason(err));
    }
    way_ = Way::kInPlace;
    return {};
  }
  way_ = Way::kRename;
  return {};
}

void AtomicFile::Write(const char* data, std::size_t size) {
  if (fd_ < 0 || error_ != 0 || size == 0) return;
  error_ = atomic_steps::WriteAll(fd_, data, size);
  if (error_ == 0) size_ += size;
}

Status AtomicFile::CommitInPlace() {
  int out = -1;
  int err = atomic_steps::OpenTarget(folder_, target_, out);
  if (err != 0) return Because(Reason(err));
  // Until the new content is whole and synced, a crash leaves the old one in a copy beside.
  std::filesystem::path backup;
  if (Status kept = atomic_steps::KeepBackup(folder_, target_, out, backup); !kept.ok()) {
    atomic_steps::CloseFile(out);
    return kept;
  }
  err = atomic_steps::ReserveRoom(out, size_);
  if (err == 0) err = atomic_steps::Rewind(fd_);
  std::array<char, 1 << 16> buf{};
  for (std::size_t done = 0; err == 0 && done < size_;) {
    std::size_t got = 0;
    err = atomic_steps::ReadSome(fd_, buf.data(), buf.size(), got);
    if (err == 0 && got == 0) err = EIO;  // the content is shorter than what was written
    if (err == 0) err = atomic_steps::WriteAll(out, buf.data(), got);
    done += got;
  }
  if (err == 0) err = atomic_steps::CutTo(out, size_);
  if (err == 0) err = atomic_steps::SyncFile(out);
  const int closed = atomic_steps::CloseFile(out);
  if (err == 0) err = closed;
  if (err != 0) {
    if (backup.empty()) return Because(Reason(err));
    return Because(Reason(err) + "; the earlier content is kept in " + backup.filename().string());
  }
  atomic_steps::DropBackup(folder_, backup);
  return {};
}

Status AtomicFile::Commit() {
  if (fd_ < 0) return Because(Reason(error_ != 0 ? error_ : EBADF));
  int err = error_;
  // The first failure is the one reported; the file is closed whatever happened before.
  const auto close = [&] {
    const int closed = atomic_steps::CloseFile(fd_);
    if (err == 0) err = closed;
    fd_ = -1;
  };
  Status failure;
  switch (way_) {
    case Way::kDirect:
      close();
      break;
    case Way::kInPlace:
      if (err == 0) failure = CommitInPlace();
      break;
    case Way::kRename:
      if (err == 0) err = atomic_steps::SyncFile(fd_);
      if (err == 0) failure = atomic_steps::MoveIntoPlace(folder_, fd_, temp_, target_);
      if (fd_ >= 0) close();
      if (err == 0 && failure.ok()) {
        UnregisterTemp(temp_);
        temp_.clear();
      }
      break;
    case Way::kNone:
      err = EBADF;
      break;
  }
  Abandon();
  if (!failure.ok()) return failure;
  if (err != 0) return Because(Reason(err));
  return {};
}

Status ReplaceFileAtomically(const std::filesystem::path& file, const std::string& bytes) {
  AtomicFile out(file, SpecialFiles::kRefuse);
  if (Status opened = out.Open(); !opened.ok()) return opened;
  out.Write(bytes.data(), bytes.size());
  return out.Commit();
}

}  // namespace lq

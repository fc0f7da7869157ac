// RunProcess on Windows: CreateProcessW with three pipes, each served by a thread of its own
// so that a child filling one pipe never waits for another.
#include <windows.h>

#include <stdexcept>
#include <thread>

#include "engine/path_text.h"
#include "tests/support/run_process.h"

namespace lq::test {
namespace {

std::wstring Wide(const std::string& text) { return ToPath(text).native(); }

// One argument as CommandLineToArgvW and the C runtime split it back.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
  if (!line.empty()) line += L' ';
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += arg;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

void ReadAll(HANDLE from, std::string& into) {
  char buf[65536];
  DWORD n = 0;
  while (::ReadFile(from, buf, sizeof buf, &n, nullptr) && n > 0) into.append(buf, n);
}

void Pipe(HANDLE& read, HANDLE& write, bool child_reads) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!::CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("CreatePipe");
  // Only the child's end is inherited.
  ::SetHandleInformation(child_reads ? write : read, HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::string& stdout_path) {
  HANDLE in_read, in_write, out_read, out_write, err_read, err_write;
  Pipe(in_read, in_write, true);
  Pipe(out_read, out_write, false);
  Pipe(err_read, err_write, false);
  HANDLE child_out = out_write;
  if (!stdout_path.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    child_out =
        ::CreateFileW(Wide(stdout_path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &inherit, OPEN_EXISTING, 0, nullptr);
    if (child_out == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + stdout_path);
  }
  std::wstring line;
  AppendQuoted(line, Wide(program));
  for (const std::string& arg : args) AppendQuoted(line, Wide(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = child_out;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                                        0, nullptr, nullptr, &startup, &process);
  for (HANDLE h : {in_read, out_write, err_write}) ::CloseHandle(h);
  if (child_out != out_write) ::CloseHandle(child_out);
  if (!started) {
    for (HANDLE h : {in_write, out_read, err_read}) ::CloseHandle(h);
    throw std::runtime_error("cannot start " + program);
  }

  ProcessResult result;
  std::thread out_thread(ReadAll, out_read, std::ref(result.out));
  std::thread err_thread(ReadAll, err_read, std::ref(result.err));
  for (std::size_t done = 0; done < input.size();) {
    DWORD n = 0;
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(input.size() - done, 1 << 16));
    if (!::WriteFile(in_write, input.data() + done, part, &n, nullptr) || n == 0) break;
    done += n;
  }
  ::CloseHandle(in_write);
  out_thread.join();
  err_thread.join();
  ::CloseHandle(out_read);
  ::CloseHandle(err_read);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  result.status = static_cast<int>(code);
  // Messages go to a standard error in text mode, whose lines end in CR LF here: the tests
  // compare their words, as on POSIX systems.
  for (std::size_t at = result.err.find("\r\n"); at != std::string::npos;
       at = result.err.find("\r\n", at)) {
    result.err.erase(at, 1);
  }
  return result;
}

}  // namespace lq::test

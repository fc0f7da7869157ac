// Starts a program and watches the X display for its main window, titled TITLE: prints the
// wall time and the CPU time the program had used when the window was mapped, when it was
// last drawn into before it settled, and once it had settled (100 ms without CPU). CPU time
// is read from /proc in nanoseconds as each event arrives, so a busy machine, which stretches
// wall times, changes it little.
//   bench_first_frame TITLE PROGRAM [ARGUMENTS...]
// Output, one line: map_ms map_cpu_ms drawn_ms drawn_cpu_ms settled_ms settled_cpu_ms
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The time every thread of the process has spent on a CPU, in milliseconds.
double CpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (dir == nullptr) return -1;
  unsigned long long ns = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
    unsigned long long on_cpu = 0;
    if (stat >> on_cpu) ns += on_cpu;
  }
  closedir(dir);
  return static_cast<double>(ns) / 1e6;
}

bool SkipsTaskbar(Display* display, Window window) {
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom skip = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, state, 0, 64, False, XA_ATOM, &type, &format, &count,
                         &after, &data) != Success ||
      data == nullptr) {
    return false;
  }
  bool found = false;
  const Atom* atoms = reinterpret_cast<const Atom*>(data);
  for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == skip;
  XFree(data);
  return found;
}

// The main window: the title, and no owner it stays above (a notice of the same title has).
bool IsMainWindow(Display* display, Window window, const char* title) {
  Window owner = 0;
  if (XGetTransientForHint(display, window, &owner) != 0 && owner != 0) return false;
  if (SkipsTaskbar(display, window)) return false;
  XTextProperty name;
  if (XGetWMName(display, window, &name) == 0 || name.value == nullptr) return false;
  const bool same = std::strcmp(reinterpret_cast<const char*>(name.value), title) == 0;
  XFree(name.value);
  return same;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_first_frame TITLE PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const char* title = argv[1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "bench_first_frame: no display\n");
    return 1;
  }
  // A window may be gone before it is asked about.
  XSetErrorHandler(IgnoreErrors);
  int damage_event = 0;
  int damage_error = 0;
  if (!XDamageQueryExtension(display, &damage_event, &damage_error)) {
    std::fprintf(stderr, "bench_first_frame: the display has no DAMAGE extension\n");
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    close(ConnectionNumber(display));
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  if (pid < 0) return 1;

  double map_ms = -1, map_cpu = -1, drawn_ms = -1, drawn_cpu = -1;
  Window shown = 0;
  Damage damage = 0;
  double last_cpu = 0;
  Clock::time_point still = Clock::now();
  const int fd = ConnectionNumber(display);
  // Up to 20 s for the window (a loaded machine is slow, a broken program never maps it),
  // then up to 3 s for it to settle.
  while (MsSince(start) < (map_ms < 0 ? 20000 : map_ms + 3000)) {
    if (drawn_ms >= 0) {
      const double now = CpuMs(pid);
      if (now > last_cpu + 0.05) {
        last_cpu = now;
        still = Clock::now();
      } else if (MsSince(still) >= 100) {
        break;
      }
    }
    if (XPending(display) == 0) {
      pollfd wait{fd, POLLIN, 0};
      poll(&wait, 1, drawn_ms < 0 ? 100 : 5);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && shown == 0 && IsMainWindow(display, event.xmap.window, title)) {
      map_cpu = CpuMs(pid);
      map_ms = MsSince(start);
      shown = event.xmap.window;
      damage = XDamageCreate(display, shown, XDamageReportNonEmpty);
      XSync(display, False);
    } else if (event.type == damage_event + XDamageNotify && shown != 0) {
      // The window is cleared as it maps, GTK draws in its next frame, and a window of many
      // widgets may draw in more than one go: the last drawing before it settles counts.
      XDamageSubtract(display, damage, None, None);
      drawn_cpu = CpuMs(pid);
      drawn_ms = MsSince(start);
      last_cpu = drawn_cpu;
      still = Clock::now();
    }
  }
  const double settled_ms = std::chrono::duration<double, std::milli>(still - start).count();
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  XCloseDisplay(display);
  if (drawn_ms < 0) {
    std::fprintf(stderr, "bench_first_frame: no window \"%s\" was drawn\n", title);
    return 1;
  }
  std::printf("%.1f %.1f %.1f %.1f %.1f %.1f\n", map_ms, map_cpu, drawn_ms, drawn_cpu, settled_ms,
              last_cpu);
  return 0;
}

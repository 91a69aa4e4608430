// Times how long a program takes to put its first window on the screen:
// from the moment it is started to the X server's MapNotify of a top-level
// window. Prints milliseconds, one line per run. With --rss MS it prints
// instead the program's resident memory in KiB, MS milliseconds after its
// window appeared.
//   startup_probe [--rss MS] RUNS COMMAND [ARGS...]
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static long ResidentKiB(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  char line[256];
  long kib = -1;
  while (fgets(line, sizeof line, f)) {
    if (sscanf(line, "VmRSS: %ld kB", &kib) == 1) break;
  }
  fclose(f);
  return kib;
}

int main(int argc, char** argv) {
  int rssAfterMs = -1;
  if (argc > 2 && strcmp(argv[1], "--rss") == 0) {
    rssAfterMs = atoi(argv[2]);
    argv += 2;
    argc -= 2;
  }
  if (argc < 3) {
    fprintf(stderr, "usage: startup_probe [--rss MS] RUNS COMMAND [ARGS...]\n");
    return 2;
  }
  const int runs = atoi(argv[1]);
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    fprintf(stderr, "startup_probe: cannot open display\n");
    return 1;
  }
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  for (int run = 0; run < runs; ++run) {
    XSync(display, True);  // drop anything left from the last run
    const double start = NowMs();
    pid_t child = fork();
    if (child == 0) {
      int null = open("/dev/null", O_RDWR);
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
      execvp(argv[2], argv + 2);
      _exit(127);
    }
    double shown = -1;
    while (shown < 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) shown = NowMs();
    }
    if (rssAfterMs >= 0) {
      usleep(static_cast<useconds_t>(rssAfterMs) * 1000);
      printf("%ld\n", ResidentKiB(child));
    } else {
      printf("%.1f\n", shown - start);
    }
    fflush(stdout);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
  }
  XCloseDisplay(display);
  return 0;
}

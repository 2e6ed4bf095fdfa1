// Starting and waiting for the collector on POSIX, with the semantics of
// CreateProcess, WaitForSingleObject and GetExitCodeProcess.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform.h"

extern char** environ;

namespace {

struct Process {
  pid_t pid = -1;
  bool ended = false;
  uint32_t exitCode = kStillActive;
};

// The program at its own path with its one argument: no search, no splitting
// at blanks, so a blank in either path can neither cut the argument nor start
// another program whose name is a prefix of the path.
pid_t Spawn(const char* program, const char* argument) {
  if (!program || !*program) return -1;
  std::string programArg = program;
  std::string arg = argument ? argument : "";
  char* argv[] = {programArg.data(), arg.data(), nullptr};
  if (!argument) argv[1] = nullptr;
  pid_t pid = -1;
  if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

void Record(Process* process, int status) {
  process->ended = true;
  if (WIFEXITED(status)) {
    process->exitCode = static_cast<uint32_t>(WEXITSTATUS(status));
  } else if (WIFSIGNALED(status)) {
    process->exitCode = 128u + static_cast<uint32_t>(WTERMSIG(status));
  }
}

// Reaps the process if it has ended; never blocks.
void Poll(Process* process) {
  if (process->ended) return;
  int status = 0;
  if (waitpid(process->pid, &status, WNOHANG) == process->pid) Record(process, status);
}

}  // namespace

QHANDLE PlatStartProcessHidden(const char* program, const char* argument) {
  const pid_t pid = Spawn(program, argument);
  if (pid < 0) return nullptr;
  auto* process = new Process;
  process->pid = pid;
  return process;
}

bool PlatWaitProcess(QHANDLE handle, uint32_t timeoutMs) {
  auto* process = static_cast<Process*>(handle);
  if (!process) return false;
  if (timeoutMs == kInfinite) {
    int status = 0;
    while (!process->ended) {
      if (waitpid(process->pid, &status, 0) == process->pid) Record(process, status);
      else if (errno != EINTR) return false;
    }
    return true;
  }
  struct timespec start;
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    Poll(process);
    if (process->ended) return true;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t elapsedMs =
        (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (elapsedMs >= timeoutMs) return false;
    usleep(10000);
  }
}

void PlatTerminateProcess(QHANDLE handle, uint32_t exitCode) {
  auto* process = static_cast<Process*>(handle);
  if (!process || process->ended) return;
  kill(process->pid, SIGKILL);
  int status = 0;
  while (waitpid(process->pid, &status, 0) < 0 && errno == EINTR) {
  }
  process->ended = true;
  process->exitCode = exitCode;
}

bool PlatGetExitCodeProcess(QHANDLE handle, uint32_t* exitCode) {
  auto* process = static_cast<Process*>(handle);
  if (!process || !exitCode) return false;
  Poll(process);
  *exitCode = process->ended ? process->exitCode : kStillActive;
  return true;
}

void PlatCloseProcess(QHANDLE handle) { delete static_cast<Process*>(handle); }

void PlatSleep(uint32_t ms) {
  struct timespec delay;
  delay.tv_sec = ms / 1000;
  delay.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
  while (nanosleep(&delay, &delay) != 0 && errno == EINTR) {
  }
}

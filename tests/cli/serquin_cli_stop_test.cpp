// Ctrl+C in serquin-cli: a search interrupted in its walk or in its scan ends with status 130.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "testkit/temp_tree.h"

extern char** environ;

namespace {

// Starts serquin-cli with `args`, its output going into a pipe that nobody reads: once the pipe is full the
// program waits to write, its search waits for the program, and so the search cannot end by itself. Then
// sends SIGINT, reads the output to its end and returns the exit status (-1 when it did not exit).
int InterruptedStatus(const std::vector<std::string>& args) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string program = std::string(SERQUIN_BIN_DIR) + "/serquin-cli";
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char buffer[65536];
  // The first output shows the search running (and the program watching for SIGINT).
  if (spawned != 0 || read(out[0], buffer, 1) != 1) {
    close(out[0]);
    return -1;
  }
  kill(pid, SIGINT);
  while (read(out[0], buffer, sizeof buffer) > 0) {
  }
  close(out[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Regression: Ctrl+C while the walk was over and the scan went on ended the run with the status of a search
// that ran to its end (0 with hits, 1 without) instead of 130.
TEST(CliStopTest, CtrlCEndsTheRunWith130InTheWalkAndInTheScan) {
  TempTree tree;
  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += "key " + std::to_string(i) + "\n";
  tree.File("one/big.txt", lines);
  for (int i = 0; i < 2000; ++i) tree.File("many/" + std::to_string(i) + ".txt", lines.substr(0, 60));
  struct Case {
    const char* name;
    std::string location;
  } cases[] = {
      {"scan of a file named as the location, the walk over", tree.Path("one/big.txt")},
      {"walk of a folder of many files", tree.Path("many") + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InterruptedStatus({"-t", "-sb", "-e*", "-b" + c.location, "-mkey"}), 130);
  }
}

}  // namespace

#include "testkit/run_program.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// One shell word holding `arg` exactly.
std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& errFile, const std::string& env) {
  std::string command = env.empty() ? Quote(program) : "env " + env + " " + Quote(program);
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " 2>" + Quote(errFile);
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile, std::ios::binary);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  return run;
}

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

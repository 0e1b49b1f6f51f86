// Runs a program end to end for the console tests: its exit status, standard output and standard error.
#pragma once

#include <string>
#include <vector>

struct CliRun {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `args` (each passed whole, whatever it holds), standard error going through
// `errFile`. `env` is put before the program as an `env` command's options (e.g. "-u LD_LIBRARY_PATH").
CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& errFile, const std::string& env = "");

// The lines of a text, sorted, so that tests can compare outputs whose order the walk decides.
std::vector<std::string> SortedLines(const std::string& text);

// Runs one of the data tools from the program folder, as the build or a user does.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace qlx::testing {

struct ToolRun {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

// Runs QLX_BIN_DIR/tool with args (already quoted for the shell).
inline ToolRun runTool(const std::string& tool, const std::string& args) {
  ToolRun run;
  FILE* pipe = ::popen(("'" QLX_BIN_DIR "/" + tool + "' " + args + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace qlx::testing

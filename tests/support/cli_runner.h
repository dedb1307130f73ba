// Runs the built qm830k-cli with the build tree's maker file and no configuration file of
// the user's, as a technician would at a shell; stderr joins stdout.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace qm::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
};

inline CliRun Cli(const std::string& args) {
  std::string cmd = std::string(QM_BINARY_DIR) + "/qm830k-cli --maker-ini " + QM_BINARY_DIR +
                    "/nrvPC.ini --ini /nonexistent/QM830K.ini " + args + " 2>&1";
  CliRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline bool Has(const std::string& s, const std::string& part) {
  return s.find(part) != std::string::npos;
}

}  // namespace qm::test

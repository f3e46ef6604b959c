// qvpack's commands (create, list, extract, check, help) as one call, so that
// tests can run them with captured output; Main.cpp is the program around it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qvpack {

// Exit codes: 0 done, 1 the command failed or the check found problems,
// 2 the command line was wrong.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int RunQvpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qvpack

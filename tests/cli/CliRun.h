#pragma once

#include "core/TestFiles.h"

#include <string>

namespace quorin::test {

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs quorin-cli with arguments (shell-quoted by the caller) in dir, with a
/// registry store of its own there, stdinText on standard input; shellPrefix
/// runs before it in the same shell ("ulimit -v 2000000; ").
CliRun runCli(const TempDir& dir, const std::string& arguments, const std::string& stdinText = "",
              const std::string& shellPrefix = "");

} // namespace quorin::test

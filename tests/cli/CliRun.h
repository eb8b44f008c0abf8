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
/// registry store of its own there, stdinText on standard input.
CliRun runCli(const TempDir& dir, const std::string& arguments, const std::string& stdinText = "");

} // namespace quorin::test

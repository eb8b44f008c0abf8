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
/// registry store of its own there and $XDG_DATA_HOME at dir/data-home,
/// stdinText on standard input. environment (arguments of env(1), e.g.
/// "-u XDG_DATA_HOME HOME=/x") changes the variables after that.
CliRun runCli(const TempDir& dir, const std::string& arguments, const std::string& stdinText = "",
              const std::string& environment = "");

} // namespace quorin::test

#include "cli/CliRun.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace quorin::test {

CliRun runCli(const TempDir& dir, const std::string& arguments, const std::string& stdinText,
              const std::string& environment)
{
    const auto in = dir / "stdin.txt";
    WriteFile(in, stdinText);
    const auto errPath = dir / "stderr.txt";
    const std::string command =
        "cd '" + dir.Path().string() + "' && QUORIN_REGISTRY='" + (dir / "registry.ini").string() +
        "' XDG_DATA_HOME='" + (dir / "data-home").string() + "' env " + environment + " '" +
        QUORIN_CLI "' " + arguments + " <'" + in.string() + "' 2>'" + errPath.string() + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot start " << command;
        return run;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    return run;
}

} // namespace quorin::test

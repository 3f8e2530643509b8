// Helper programs the driver starts without a shell: xdg-user-dir for the documents folder,
// xdg-open for e-mail drafts and the invoice rule checker. Arguments go to the program as they are, so no text of a
// job is ever parsed by a shell. Stateless; any thread (posix_spawn, no fork of the caller).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace korventa::refdriver {

// The full path of an executable found on PATH, or empty.
[[nodiscard]] std::string findOnPath(const std::string& name);

// Runs the program to its end (a few seconds at most; a program that takes longer is killed)
// and gives what it wrote to standard output, at most 64 KiB. False when it could not be
// started, was killed or did not exit with 0.
[[nodiscard]] bool runForOutput(const std::vector<std::string>& argv, std::string& output);

// Starts the program in a session of its own through `setsid -f`, which returns at once, so
// the caller waits for nothing and leaves no child behind. False when it could not start.
[[nodiscard]] bool startDetached(const std::vector<std::string>& argv);

// Starts the program with `stdio` (a socket, so writes to a dead program fail instead of
// raising SIGPIPE) as its standard input and output; the caller owns the child and reaps it.
[[nodiscard]] bool startConnected(const std::vector<std::string>& argv, int stdio, pid_t& pid);

}  // namespace korventa::refdriver

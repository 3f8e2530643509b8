// Starts the window program offscreen on temporary hives and a temporary home, drives its
// scripted test build with a script of ribbon steps and reads what it left in the user hive. Shared by the end-to-end suites;
// the program and the reference driver are looked up beside the test program.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/registry/RegistryKey.h"
#include "support/TempDir.h"

namespace korventa::test {

// True when the shell command exits with 0; its output is dropped.
bool run(const std::string& command);

class ProgramSession : public testing::Test {
protected:
    ProgramSession();

    // Writes the script, starts the program with it and waits for its end; false when it had
    // to be killed or did not exit with 0.
    bool runScript(const std::string& script, const std::vector<std::string>& arguments = {});
    // Starts the program without waiting; 0 when it could not be started.
    pid_t startScript(const std::string& scriptName, const std::string& script,
                      const std::vector<std::string>& arguments = {});
    // runScript with extra environment variables and the program's standard error kept.
    bool runScriptKeepingErrors(const std::string& script,
                                const std::vector<std::string>& environment, std::string& errors);
    // Waits for a started program as runScript does.
    static bool finish(pid_t program);
    // Runs korventa-convert to its end with its standard output kept (its standard error in
    // the file "convert.out.err"); false when it had to be killed.
    bool runConverter(const std::vector<std::string>& arguments, int& exitCode,
                      std::string& output);
    // The same for any program of the build, with extra environment variables.
    bool runToEnd(const std::string& name, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment, int& exitCode,
                  std::string& output);
    // Adds a queue of the driver's model; false (with the reason in `why`) when CUPS is
    // missing or refuses. The queue is removed with the session.
    bool addDriverQueue(std::string& queue, std::string& why);

    void putText(WStringView keyPath, WStringView name, WStringView text);
    std::vector<reg::RegValue> valuesIn(WStringView keyPath);
    // "(missing)" for a value that is not there.
    WString textIn(WStringView keyPath, WStringView name);

    ~ProgramSession() override;

    // Standard output goes to the session's file `outputName` and standard error to
    // `errorName`, when they are given.
    pid_t startProgram(const std::string& name, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& environment, const std::string& outputName,
                       const std::string& errorName = {});
    // False when the program had to be killed at the time limit.
    static bool finishWithStatus(pid_t program, int& status);

    ScopedHives hives_;
    TempDir files_;
    std::string page_;  // the saved address: a local page, so no network is needed
    std::vector<std::string> queues_;
};

}  // namespace korventa::test

#pragma once
// What the dialog tells about each install and uninstall run, for the front-ends that
// keep an account of them (the install journal): how the run starts and how it ends.
#include <string>

struct InstallMode;

enum class RunKind { Install, Uninstall };

// The verdict the dialog gives the user at the end of a run.
enum class RunResult { InstallSucceeded, InstallFailed, Uninstalled };

struct RunStart {
    RunKind kind = RunKind::Install;
    // An install: the checked mode, null when none is checked.
    const InstallMode* mode = nullptr;
    // An uninstall: whether the save data stays.
    bool keepSaveData = false;
    // The InstallState found at start-up.
    int stateBefore = 0;
};

class RunObserver {
public:
    virtual ~RunObserver() = default;
    // Before the run changes anything.
    virtual void RunStarts(const RunStart& start) = 0;
    // After the run, before `message`, the verdict, is shown to the user.
    virtual void RunEnds(RunResult result, const std::string& message) = 0;
};

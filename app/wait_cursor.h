#pragma once
// Shows the wait cursor for the lifetime of the object, whichever way the run leaves.
#include "platform/dialog_host.h"

class WaitCursor {
public:
    explicit WaitCursor(plat::DialogHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
    ~WaitCursor() { m_host.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    plat::DialogHost& m_host;
};

// Marks a run: while it lasts the window stays alive to the system but will not close.
class ActiveRun {
public:
    explicit ActiveRun(plat::DialogHost& host) : m_host(host) { m_host.SetRunActive(true); }
    ~ActiveRun() { m_host.SetRunActive(false); }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    plat::DialogHost& m_host;
};

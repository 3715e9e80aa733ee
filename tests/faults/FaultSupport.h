// What the fault tests share beside the library: a second program that holds a file
// open without sharing, a copy of the stand-in that stays running, and the closing of
// stand-ins started in a folder whose path may be too long for the ANSI calls.
#pragma once

#include "TestSupport.h"

#include <windows.h>

#include <string>

namespace tol::test {

// Closes the stand-in copies started from Folder, once their windows show, and waits
// until they have ended; false when none showed in time. A stand-in in a folder whose
// path is too long for the ANSI calls cannot read its "StandInExit.txt" and stays.
bool CloseStandInsStartedIn(const std::string& Folder);

// A second program (FaultLocker.exe) that holds a file open for reading without
// sharing it, as another program of the player's might, until the object ends.
class THeldFile {
public:
    explicit THeldFile(const std::string& FileName);
    ~THeldFile() { Release(); }
    THeldFile(const THeldFile&) = delete;
    THeldFile& operator=(const THeldFile&) = delete;
    void Release();

private:
    TKernelHandle FReady, FRelease; // events
    TProcess FLocker;
};

// A running copy of the stand-in tutorial program under FileName that stays until the
// object ends; the stand-in reads how long to stay from the file beside it, which is
// set to "at once" again when it has read it, for the copies started after it.
class TRunningCopy : public TProcess {
public:
    explicit TRunningCopy(const std::string& FileName);
};

} // namespace tol::test

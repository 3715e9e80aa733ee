// Holds a file open for reading without sharing it, as another program of the player's
// might, until told to let go: FaultLocker FILE READY-EVENT RELEASE-EVENT. It sets the
// first event once it holds the file and waits for the second (at most two minutes, so
// that a test that dies does not leave it behind for long).
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const HANDLE Ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    const HANDLE Release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
    if (!Ready || !Release)
        return 3;
    const HANDLE File = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return 4;
    SetEvent(Ready);
    WaitForSingleObject(Release, 120000);
    CloseHandle(File);
    return 0;
}

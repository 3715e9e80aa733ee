// The launcher's copies are "TOL", one to four hexadecimal digits and ".exe" in any
// letter case. The names every layer that tells copies from other files checks: the
// rule itself, and the clean-up on a real disk.
#pragma once

#include <string>
#include <vector>

namespace tol::test {

inline const std::vector<std::string> CopyNames = {"TOL1.EXE",    "TOL2.exe", "tol3.Exe",   "TOL3f2a.EXE",
                                                   "TOLffff.exe", "TolA.eXe", "TOLbeef.exe"};

// Names one step away from a copy's: no digits, too many, a letter beyond "F", another
// extension, something before or inside.
inline const std::vector<std::string> LookAlikeCopyNames = {
    "TOL.exe",      "TOLKIEN.exe", "TOL12345.exe", "TOL4.dat", "TOL1.exe.bak", "TOLG.exe", "Tolerance Long.Exe",
    "TOLx.exe_old", "XTOL1.exe",   "TOL 1.exe",    "TOL1..exe"};

} // namespace tol::test

// The clean-up's own-name filter: it must take every name the launcher gives its
// copies and nothing else, since whatever it takes is deleted.
#include "FuzzCheck.h"

#include "Paths.h"

#include <cstdio>
#include <regex>
#include <string>

using namespace tol;
using namespace tol::fuzz;

namespace {

const std::regex CopyName("TOL[0-9A-F]{1,4}\\.EXE", std::regex::icase | std::regex::optimize);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* Data, std::size_t Size)
{
    const std::string Name(AsText(Data, Size));
    Check(IsLauncherCopyName(Name) == std::regex_match(Name, CopyName),
          "a copy's name is \"TOL\", one to four hexadecimal digits and \".exe\", in any letter case");

    // The names the launcher itself makes, from the input's first two bytes, in the
    // forms the system gives them (digits in either case, with or without zeros in front).
    const unsigned Unique = Size >= 2 ? (Data[0] << 8 | Data[1]) : 0xF2A;
    char Made[32];
    for (const char* Form : {"TOL%X.EXE", "TOL%x.EXE", "TOL%04X.EXE", "tol%x.exe"}) {
        std::snprintf(Made, sizeof Made, Form, Unique);
        Check(IsLauncherCopyName(Made), "every name the launcher makes is taken");
        Check(!IsLauncherCopyName(std::string(Made) + " ") && !IsLauncherCopyName(std::string(Made) + ".bak")
                  && !IsLauncherCopyName("x" + std::string(Made)),
              "anything before or after a copy's name makes another file");
    }
    return 0;
}

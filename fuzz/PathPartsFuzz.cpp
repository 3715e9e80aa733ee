// A path's folder part and file-name part, and the launcher's own-name filter that the
// clean-up trusts before it deletes anything.
#include "FuzzCheck.h"

#include "Paths.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

using namespace tol;
using namespace tol::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* Data, std::size_t Size)
{
    FuzzedDataProvider Provider(Data, Size);
    const std::string Path = Provider.ConsumeRandomLengthString();
    const std::string Other = Provider.ConsumeRemainingBytesAsString();

    const std::string Folder = ExtractFilePath(Path), Name = ExtractFileName(Path);
    Check(Folder + Name == Path, "the two parts make the path");
    Check(Name.find_first_of("\\:") == std::string::npos, "the file-name part holds no separator");
    Check(Folder.empty() || Folder.back() == '\\' || Folder.back() == ':', "the folder part ends in a separator");
    Check(ExtractFilePath(Folder) == Folder && ExtractFileName(Folder).empty(), "a folder part is its own folder part");
    if (Other.find_first_of("\\:") == std::string::npos)
        Check(ExtractFilePath(Folder + Other) == Folder && ExtractFileName(Folder + Other) == Other,
              "a name put after a folder part comes back as the file-name part");
    return 0;
}

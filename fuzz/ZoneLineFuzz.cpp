// A catalogue line split into its three fields and joined back, and the zone-name
// field made from the internal name.
#include "FuzzCheck.h"

#include "GlobalImp.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

using namespace tol;
using namespace tol::fuzz;

namespace {

std::string Without(std::string Text, std::string_view Separators)
{
    std::erase_if(Text, [&](char C) { return Separators.find(C) != std::string_view::npos; });
    return Text;
}

void CheckZoneName(const std::string& Internal)
{
    const TZoneName Field = StringToZoneName(Internal);
    const std::size_t Kept = std::min(Internal.size(), Field.size());
    Check(std::equal(Field.begin(), Field.begin() + static_cast<std::ptrdiff_t>(Kept), Internal.begin()),
          "the field starts with the name's first 12 characters");
    Check(std::all_of(Field.begin() + static_cast<std::ptrdiff_t>(Kept), Field.end(), [](char C) { return C == 0; }),
          "the rest of the field is zero bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* Data, std::size_t Size)
{
    // Any line: the name runs to the first "=", and a line whose "=" comes before its
    // first "|" is given back whole by its fields.
    const std::string Line(AsText(Data, Size));
    const TZone Zone = ParseZoneLine(Line);
    const auto Equals = Line.find('='), Bar = Line.find('|');
    Check(Zone.Name == Line.substr(0, Equals), "the name is the text before the first \"=\"");
    if (Equals != std::string::npos && (Bar == std::string::npos || Equals < Bar))
        Check(Zone.Name + "=" + Zone.InternalName + (Bar == std::string::npos ? "" : "|" + Zone.Status) == Line,
              "the fields joined with \"=\" and \"|\" give back the line");
    else
        Check(Zone.InternalName.empty(), "without an \"=\" before the first \"|\" there is no internal name");
    Check(Zone.Status == (Bar == std::string::npos ? "" : Line.substr(Bar + 1)), "the status follows the first \"|\"");
    CheckZoneName(Zone.InternalName);

    // Any three fields that can stand in a line come back from the line they make.
    FuzzedDataProvider Provider(Data, Size);
    const std::string Name = Without(Provider.ConsumeRandomLengthString(), "=|");
    const std::string Internal = Without(Provider.ConsumeRandomLengthString(), "|");
    const std::string Status = Provider.ConsumeRemainingBytesAsString();
    const TZone Back = ParseZoneLine(Name + "=" + Internal + "|" + Status);
    Check(Back.Name == Name && Back.InternalName == Internal && Back.Status == Status,
          "name, internal name and status come back from the line they make");
    return 0;
}

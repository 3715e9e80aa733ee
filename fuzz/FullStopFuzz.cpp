// The message rules: the full stop the general handler adds, and the path put into a
// message's template.
#include "FuzzCheck.h"

#include "Errors.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

using namespace tol;
using namespace tol::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* Data, std::size_t Size)
{
    FuzzedDataProvider Provider(Data, Size);
    const std::string Template = Provider.ConsumeRandomLengthString();
    const std::string Message = Provider.ConsumeRemainingBytesAsString();

    const std::string Shown = AddFullStop(Message);
    const bool Wanted = !Message.empty() && static_cast<unsigned char>(Message.back()) > '.';
    Check(Shown == (Wanted ? Message + "." : Message), "a full stop follows exactly the characters above \".\"");
    Check(AddFullStop(Shown) == Shown, "a message that ends in a full stop gets no second one");

    // The argument goes in once, in place of the first "%s" (else the first "%d"), and
    // is never read as a template itself.
    const std::string Filled = FormatText(Template, Message);
    auto Marker = Template.find("%s");
    if (Marker == std::string::npos)
        Marker = Template.find("%d");
    if (Marker == std::string::npos)
        Check(Filled == Template, "a template without a marker stays as it is");
    else
        Check(Filled.size() == Template.size() - 2 + Message.size()
                  && Filled.compare(0, Marker, Template, 0, Marker) == 0
                  && Filled.compare(Marker, Message.size(), Message) == 0
                  && Filled.compare(Marker + Message.size(), std::string::npos, Template, Marker + 2) == 0,
              "the argument stands in place of the marker, the rest of the template around it");
    return 0;
}

// A read-only settings file read through the system's private-profile service.
#pragma once

#include <string>
#include <vector>

namespace tol {

class TIniFile {
public:
    // Only records the path: nothing is opened until a value is asked for.
    explicit TIniFile(std::string FileName);
    virtual ~TIniFile() = default;

    // One request to the service; a value longer than 2047 characters comes back cut.
    std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Default) const;

    // Replaces Names with the section's key names, in the service's order, all of them.
    void ReadSection(const std::string& Section, std::vector<std::string>& Names) const;

    // For each key name of the section, in order, the line "name=value": an empty value
    // removes a line of that name, any other replaces the first line whose name is the
    // same without regard to letter case, or is appended. Lines is not cleared first.
    void ReadSectionValues(const std::string& Section, std::vector<std::string>& Lines) const;

private:
    std::string FFileName;
};

} // namespace tol

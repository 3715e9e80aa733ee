// A file that can be started through the shell, and its variant that is given a
// fresh, unique name in the temporary folder. Neither ever deletes its file.
#pragma once

#include <string>

namespace tol {

// How many unique names are drawn before a name clash is given up as a failure.
inline constexpr int UniqueNameAttempts = 16;

class TFile {
public:
    TFile();
    virtual ~TFile() = default;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    const std::string& GetFileName() const noexcept { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // Starts the file as StartWithShell does; never raises.
    virtual bool Execute();

protected:
    // The name a new object starts with: none.
    virtual std::string GetDefaultFileName();

    std::string FFileName;
};

class TTempFile : public TFile {
public:
    // Creates an empty file named Prefix's first three characters, a unique
    // hexadecimal part and "." Extension in the temporary folder. Raises EInOutError
    // when the folder, the unique name or the rename fails.
    TTempFile(const std::string& Prefix, const std::string& Extension);

protected:
    std::string GetDefaultFileName() override;

    std::string FPrefix;
    std::string FExtension;
};

} // namespace tol

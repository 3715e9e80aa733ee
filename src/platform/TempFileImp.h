// A file that can be started through the shell, and its variant that is given a
// fresh, unique name in the temporary folder. Neither ever deletes its file.
#pragma once

#include <string>

namespace tol {

class TFile {
public:
    TFile();
    virtual ~TFile() = default;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    virtual std::string GetFileName() const;
    virtual void SetFileName(const std::string& Value);
    virtual std::string GetParameters() const;
    virtual void SetParameters(const std::string& Value);
    // Never raises: any failure while asking counts as "does not exist".
    virtual bool GetExists() const;
    // Starts the file with the shell verb "open" in its own folder. On failure shows
    // a warning with the system's reason and returns false, silently when the player
    // declined the start; never raises.
    virtual bool Execute();

protected:
    // The name a new object starts with: none.
    virtual std::string GetDefaultFileName();

    std::string FFileName;
    std::string FParameters;
};

class TTempFile : public TFile {
public:
    // Creates an empty file named Prefix's first three characters, a unique
    // hexadecimal part and "." Extension in the temporary folder. Raises EInOutError
    // when the folder, the unique name or the rename fails.
    TTempFile(const std::string& Prefix, const std::string& Extension);

    virtual std::string GetPrefix() const;
    virtual std::string GetExtension() const;

protected:
    std::string GetDefaultFileName() override;

    std::string FPrefix;
    std::string FExtension;
};

} // namespace tol

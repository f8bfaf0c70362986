#pragma once
// Windows implementations of the portable core's small platform interfaces.
#include <windows.h>

#include "shared/core/Clock.h"
#include "shared/core/FileSystem.h"
#include "shared/core/Shell.h"

namespace vt::win {

class WinClock : public IClock {
public:
    LocalTime Now() const override;
};

// ShellExecuteW with the given owner window ("open" verb).
class WinShell : public IShell {
public:
    explicit WinShell(HWND owner = nullptr) : m_hOwner(owner) {}
    bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
              ShowMode show) override;

private:
    HWND m_hOwner;
};

// Paths are UTF-8 and reach Windows as UTF-16, so any name the user's
// folder has works whatever the ANSI code page.
class WinFileSystem : public IFileSystem {
public:
    bool ReadAll(const std::string& path, std::vector<unsigned char>& out) override;
    std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override;
    // Both writers let others read meanwhile (FILE_SHARE_READ), not write.
    std::unique_ptr<IFileWriter> Create(const std::string& path) override;
    std::unique_ptr<IFileWriter> OpenInPlace(const std::string& path) override;
    // MoveFileExW with MOVEFILE_WRITE_THROUGH: on disk when it returns.
    bool Replace(const std::string& from, const std::string& to) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;
};

}  // namespace vt::win

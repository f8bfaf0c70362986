#pragma once
// Starting programs, documents and web pages through the shell.
#include <string>

namespace vt {

enum class ShowMode { Normal, Hidden, Maximized };

class IShell {
public:
    virtual ~IShell() = default;
    // file: a path (UTF-8) or an address; directory may be empty.
    // Returns false when the shell could not start it.
    virtual bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
                      ShowMode show) = 0;
};

}  // namespace vt

#pragma once
// Profile text in memory: reading a value as the platform's private profile
// functions read it, and changing a value in the text's own bytes. Shared by
// the profile on a file and the profile on bytes already read; no file
// access here, so a program that reads profiles from memory only carries no
// file code for them.
#include <string>

namespace vt {

// The value of section/key in text, or def as the platform returns it.
// `loaded` is false when there is no text to read (a missing or unreadable
// file): then the default is returned.
std::string ReadProfileString(bool loaded, const std::string& text, const std::string& section, const std::string& key,
                              const std::string& def);
int ReadProfileInt(bool loaded, const std::string& text, const std::string& section, const std::string& key, int def);

enum class ProfileEdit { Changed, Unchanged, Refused };

// Sets section/key to value in text, where the platform would find it:
// Refused (text untouched) for a write that could not be read back as
// written, Unchanged when the key already holds the value.
ProfileEdit EditProfileText(std::string& text, const std::string& section, const std::string& key,
                            const std::string& value);

}  // namespace vt

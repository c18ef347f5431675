#pragma once
// INI files the way the Windows profile functions treat them: sections
// "[name]" matched without case, "key=value" lines below. Writes change only
// the section named and keep every other byte of the file as it was; they go
// through a temporary file and a rename (platform/SafeFile.h).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// WritePrivateProfileSection: the body of the first section named `section`
// becomes `lines`, each written with "\r\n" after it (no lines empties the
// section and keeps its header). Blank lines that separate the section from
// the next one stay. An absent section is appended at the end of the file,
// an absent file is created. False when the file is there but cannot be read
// (it is left as it is) or cannot be written (for example when its folder
// does not exist).
bool WritePrivateProfileSection(std::string_view section, const std::vector<std::string>& lines,
                                const std::filesystem::path& file);

// GetPrivateProfileString: the value of `key` in `section` (both matched
// without case), with white space around it and one pair of enclosing quotes
// removed; `fallback` when the file, section or key is missing.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view fallback, const std::filesystem::path& file);

// GetPrivateProfileSection: the non-blank lines of the section's body,
// without their line ends; empty when the file or section is missing.
std::vector<std::string> GetPrivateProfileSection(std::string_view section,
                                                  const std::filesystem::path& file);

}  // namespace platform

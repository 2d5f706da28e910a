#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vzt {

// The bytes of the section `name` of an ELF file of this machine's kind (word size and
// byte order), at most maxSize of them. Every offset and size in the file is checked
// against the file before it is used; a file that is not such an ELF file, lacks the
// section or has a larger one gives nothing, with the reason in `error` when it is given.
std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name,
                                          std::size_t maxSize, std::string* error = nullptr);

}  // namespace vzt

#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace res {

// A file the program carries inside its executable: the pages and their
// images, built from the files under res/pages/.
struct EmbeddedFile {
    std::string_view name; // the file's name, as pages refer to it
    std::string_view mimeType;
    std::span<const unsigned char> bytes;
};

// Every embedded file, in no particular order.
std::span<const EmbeddedFile> EmbeddedFiles();

// The embedded file of that exact name; nothing when there is none.
std::optional<EmbeddedFile> FindEmbeddedFile(std::string_view name);

// The text of an embedded file, empty when there is none.
std::string_view EmbeddedText(std::string_view name);

} // namespace res

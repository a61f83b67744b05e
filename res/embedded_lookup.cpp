#include "res/embedded_files.h"

namespace res {

std::optional<EmbeddedFile> FindEmbeddedFile(std::string_view name)
{
    for (const EmbeddedFile& file : EmbeddedFiles())
        if (file.name == name)
            return file;
    return std::nullopt;
}

std::string_view EmbeddedText(std::string_view name)
{
    const auto file = FindEmbeddedFile(name);
    if (!file)
        return {};
    return {reinterpret_cast<const char*>(file->bytes.data()), file->bytes.size()};
}

} // namespace res

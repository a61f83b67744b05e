#pragma once
// A fresh folder of the test's own in the system's temporary folder, on
// POSIX and Windows alike.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace fakes {

// Makes a new folder named prefix plus random letters and returns its path;
// empty when none could be made.
inline std::string MakeTempFolder(const std::string& prefix)
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 8; ++i)
            name += static_cast<char>(letter(random));
        const std::filesystem::path folder = base / name;
        if (std::filesystem::create_directory(folder, error)) {
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, error);
            return folder.string();
        }
    }
    return {};
}

} // namespace fakes

#pragma once
// A private folder in the temporary folder for one test, removed with its content after it.

#include "fakes/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace settings::testing {

class TempFolder {
public:
    TempFolder() { m_path = fakes::MakeTempFolder("vantrel_settings_"); }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace settings::testing

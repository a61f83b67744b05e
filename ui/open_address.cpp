#include "ui/open_address.h"

#include "ui/backend.h"

#include <array>
#include <cstdio>
#include <utility>

namespace ui {

namespace {

const std::array<std::pair<int, std::string_view>, 13> kOpenErrorTexts = {{
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
}};

constexpr std::string_view kOpenErrorHeading = "Unable to open hyperlink:\n\n";

} // namespace

int OpenAddress(std::string_view address)
{
    return CurrentBackend().OpenAddress(address);
}

std::string OpenErrorText(int code)
{
    for (const auto& [known, text] : kOpenErrorTexts)
        if (known == code)
            return std::string(text);
    char text[48];
    std::snprintf(text, sizeof text, "Unknown Error (%d) occurred.", code);
    return text;
}

void ShowOpenError(int code)
{
    AfxMessageBox(std::string(kOpenErrorHeading) + OpenErrorText(code));
}

} // namespace ui

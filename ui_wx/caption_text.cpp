#include "ui_wx/caption_text.h"

namespace ui_wx {

std::string WithoutMnemonic(std::string_view caption)
{
    std::string plain;
    plain.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                ++i; // "&&" stands for one literal ampersand
            else
                continue;
        }
        plain.push_back(caption[i]);
    }
    return plain;
}

std::string AccessibleNameFromLabel(std::string_view caption)
{
    std::string name = WithoutMnemonic(caption);
    while (!name.empty() && (name.back() == ':' || name.back() == ' '))
        name.pop_back();
    return name;
}

} // namespace ui_wx

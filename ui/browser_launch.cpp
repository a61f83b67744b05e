#include "ui/browser_launch.h"

#include <string>
#include <vector>

namespace ui {

namespace {

// Replaces %s by the address and %% by a percent sign; notes whether the
// address went in.
std::string Substitute(std::string_view argument, std::string_view address, bool& used)
{
    std::string out;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] == '%' && i + 1 < argument.size() && (argument[i + 1] == 's' || argument[i + 1] == '%')) {
            const bool isAddress = argument[++i] == 's';
            out.append(isAddress ? address : "%");
            used = used || isAddress;
        } else {
            out += argument[i];
        }
    }
    return out;
}

} // namespace

std::vector<std::string> BrowserCommand(std::string_view entry, std::string_view address)
{
    std::vector<std::string> command;
    bool used = false;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : entry) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                word += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                command.push_back(Substitute(word, address, used));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        command.push_back(Substitute(word, address, used));
    if (!command.empty() && !used)
        command.emplace_back(address);
    return command;
}

} // namespace ui

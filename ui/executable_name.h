#pragma once

#include <string>

namespace ui {

// The running executable's file name as the system records it (UTF-8,
// without its folder); empty when the system does not tell.
std::string ExecutableFileName();

} // namespace ui

#include "ui_wx/curl_library.h"

#include <cstdio>
#include <optional>

#include <dlfcn.h>

namespace ui_wx {

namespace {

template <typename Function>
bool Find(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<CurlLibrary> Load()
{
    void* library = nullptr;
    for (const char* name : {"libcurl-gnutls.so.4", "libcurl.so.4"})
        if ((library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr)
            break;
    if (!library) {
        std::fprintf(stderr, "vantrel: web pages cannot be fetched: %s\n", dlerror());
        return std::nullopt;
    }
    CurlLibrary curl{};
    const bool found =
        Find(library, "curl_global_init", curl.global_init) && Find(library, "curl_easy_init", curl.easy_init) &&
        Find(library, "curl_easy_setopt", curl.easy_setopt) && Find(library, "curl_easy_getinfo", curl.easy_getinfo) &&
        Find(library, "curl_easy_cleanup", curl.easy_cleanup) && Find(library, "curl_multi_init", curl.multi_init) &&
        Find(library, "curl_multi_add_handle", curl.multi_add_handle) &&
        Find(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
        Find(library, "curl_multi_perform", curl.multi_perform) &&
        Find(library, "curl_multi_info_read", curl.multi_info_read) &&
        Find(library, "curl_multi_poll", curl.multi_poll) && Find(library, "curl_multi_wakeup", curl.multi_wakeup) &&
        Find(library, "curl_multi_cleanup", curl.multi_cleanup);
    if (!found || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fputs("vantrel: web pages cannot be fetched: libcurl is too old or cannot start\n", stderr);
        return std::nullopt; // the library stays open: a half-started one must not be unloaded
    }
    return curl;
}

} // namespace

const CurlLibrary* OpenCurl()
{
    static const std::optional<CurlLibrary> curl = Load();
    return curl ? &*curl : nullptr;
}

} // namespace ui_wx

#pragma once

#include <curl/curl.h>

namespace ui_wx {

// The libcurl calls the page fetcher makes, from the library opened when the
// first page is fetched rather than linked: a program that never fetches a
// page (no advert address) never loads libcurl and the score of libraries
// it brings (TLS, Kerberos, LDAP, SSH), and the window's start never waits
// for them.
struct CurlLibrary {
    decltype(&curl_global_init) global_init;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_perform) multi_perform;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_multi_poll) multi_poll;
    decltype(&curl_multi_wakeup) multi_wakeup;
    decltype(&curl_multi_cleanup) multi_cleanup;
};

// libcurl (the GnuTLS build, else the OpenSSL one), opened and initialised
// on the first call and kept until the program ends; null when neither can
// be opened, which is reported once on stderr. Call it on one thread only.
const CurlLibrary* OpenCurl();

} // namespace ui_wx

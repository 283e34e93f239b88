#pragma once

// libcurl, loaded the first time a transfer needs it rather than when the program
// starts: it and what it pulls in (TLS, Kerberos, LDAP, SSH...) would cost every
// start their loading and linking, for a feature most runs never use.
#ifndef CURL_DISABLE_TYPECHECK
#define CURL_DISABLE_TYPECHECK
#endif
#include <curl/curl.h>

#include <QString>

struct CurlLibrary {
    CURLcode (*global_init)(long flags);
    CURL *(*easy_init)();
    void (*easy_reset)(CURL *curl);
    void (*easy_cleanup)(CURL *curl);
    CURLcode (*easy_setopt)(CURL *curl, CURLoption option, ...);
    CURLcode (*easy_getinfo)(CURL *curl, CURLINFO info, ...);
    CURLcode (*easy_perform)(CURL *curl);
    const char *(*easy_strerror)(CURLcode code);
    curl_slist *(*slist_append)(curl_slist *list, const char *text);
    void (*slist_free_all)(curl_slist *list);
    CURLM *(*multi_init)();
    CURLMcode (*multi_add_handle)(CURLM *multi, CURL *curl);
    CURLMcode (*multi_remove_handle)(CURLM *multi, CURL *curl);
    CURLMcode (*multi_perform)(CURLM *multi, int *running);
    CURLMcode (*multi_timeout)(CURLM *multi, long *milliseconds);
    CURLMcode (*multi_poll)(CURLM *multi, curl_waitfd extra[], unsigned int count,
                            int timeoutMs, int *ready);
    CURLMsg *(*multi_info_read)(CURLM *multi, int *left);
    CURLMcode (*multi_cleanup)(CURLM *multi);
};

// The library's entry points, loaded once (thread-safe) and kept; nullptr when the
// library or one of them cannot be found, with the reason in *error.
const CurlLibrary *curlLibrary(QString *error = nullptr);

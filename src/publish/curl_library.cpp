#include "publish/curl_library.h"

#include <QLibrary>

namespace {
struct Loaded {
    CurlLibrary api = {};
    bool ok = false;
    QString error;
};

template <typename F> bool resolve(QLibrary &lib, const char *name, F &fn) {
    fn = reinterpret_cast<F>(lib.resolve(name));
    return fn != nullptr;
}

Loaded load() {
    Loaded l;
    // libcurl.so.4: the library's interface number since 2006. Never unloaded: its
    // handles live as long as the program.
    auto *lib = new QLibrary(QStringLiteral("curl"), 4);
    if (!lib->load()) {
        l.error = lib->errorString();
        return l;
    }
    CurlLibrary &a = l.api;
    l.ok = resolve(*lib, "curl_global_init", a.global_init) &&
           resolve(*lib, "curl_easy_init", a.easy_init) &&
           resolve(*lib, "curl_easy_reset", a.easy_reset) &&
           resolve(*lib, "curl_easy_cleanup", a.easy_cleanup) &&
           resolve(*lib, "curl_easy_setopt", a.easy_setopt) &&
           resolve(*lib, "curl_easy_getinfo", a.easy_getinfo) &&
           resolve(*lib, "curl_easy_perform", a.easy_perform) &&
           resolve(*lib, "curl_easy_strerror", a.easy_strerror) &&
           resolve(*lib, "curl_slist_append", a.slist_append) &&
           resolve(*lib, "curl_slist_free_all", a.slist_free_all) &&
           resolve(*lib, "curl_multi_init", a.multi_init) &&
           resolve(*lib, "curl_multi_add_handle", a.multi_add_handle) &&
           resolve(*lib, "curl_multi_remove_handle", a.multi_remove_handle) &&
           resolve(*lib, "curl_multi_perform", a.multi_perform) &&
           resolve(*lib, "curl_multi_timeout", a.multi_timeout) &&
           resolve(*lib, "curl_multi_poll", a.multi_poll) &&
           resolve(*lib, "curl_multi_info_read", a.multi_info_read) &&
           resolve(*lib, "curl_multi_cleanup", a.multi_cleanup);
    if (!l.ok) l.error = lib->errorString();
    return l;
}
} // namespace

const CurlLibrary *curlLibrary(QString *error) {
    static const Loaded loaded = load();
    if (error) *error = loaded.error;
    return loaded.ok ? &loaded.api : nullptr;
}

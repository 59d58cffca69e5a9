#include "data/postgres/libpq.h"

#include <dlfcn.h>

#include <mutex>

namespace velmora::pq {

namespace {

// The soname of Debian's libpq5 package, the one the headers come from.
constexpr const char* kLibrary = "libpq.so.5";

}  // namespace

const Calls* Load(std::string& problem) {
    static std::once_flag once;
    static Calls calls;
    static const Calls* loaded = nullptr;
    static std::string failure;
    std::call_once(once, [] {
        // Kept for the life of the process: connections may outlive any owner.
        void* handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = dlerror();
            failure = std::string("PostgreSQL's client library cannot be loaded: ") + (why ? why : kLibrary);
            return;
        }
#define VELMORA_LIBPQ_FIND(name)                                                                    \
    calls.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                         \
    if (calls.name == nullptr) {                                                                    \
        failure = std::string("PostgreSQL's client library ") + kLibrary + " has no " #name         \
                  " (version 14 or later is needed)";                                               \
        return;                                                                                     \
    }
        VELMORA_LIBPQ_CALLS(VELMORA_LIBPQ_FIND)
#undef VELMORA_LIBPQ_FIND
        loaded = &calls;
    });
    if (loaded == nullptr) problem = failure;
    return loaded;
}

}  // namespace velmora::pq

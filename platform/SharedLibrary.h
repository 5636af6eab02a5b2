// A shared library opened with its functions looked up by name into a table. The libraries of
// sound are opened, not linked, so that the program starts without them: neither the first
// frame nor a system without sound waits for them.
#pragma once

#include <dlfcn.h>

namespace tarnell::platform {

// Nothing of the library is there when it or one of its functions is missing.
template <typename Functions> class SharedLibrary {
public:
    SharedLibrary() {
        handle_ = dlopen(Functions::SoName, RTLD_NOW | RTLD_LOCAL);
        if (handle_)
            ready_ = functions_.resolve([this](const char* name) { return dlsym(handle_, name); });
    }
    ~SharedLibrary() {
        if (handle_)
            dlclose(handle_);
    }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    // The table, or null when the library cannot be used.
    const Functions* get() const { return ready_ ? &functions_ : nullptr; }

private:
    void* handle_ = nullptr;
    bool ready_ = false;
    Functions functions_;
};

// Looks one function of a table up; false when the library lacks it.
template <typename Function, typename Lookup>
bool bind(Function*& function, Lookup& lookup, const char* name) {
    function = reinterpret_cast<Function*>(lookup(name));
    return function != nullptr;
}

} // namespace tarnell::platform

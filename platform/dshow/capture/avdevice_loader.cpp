#include "avdevice_loader.h"
extern "C" {
#include <libavdevice/version.h>
#include <libavutil/macros.h>
}
#include <dlfcn.h>
#include <mutex>

bool LoadDeviceReaders()
{
    static std::once_flag once;
    static bool loaded = false;
    std::call_once(once, [] {
        void* lib = dlopen("libavdevice.so." AV_STRINGIFY(LIBAVDEVICE_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            return;
        auto registerAll = reinterpret_cast<void (*)()>(dlsym(lib, "avdevice_register_all"));
        if (registerAll) {
            registerAll();
            loaded = true;
        }
    });
    return loaded;
}

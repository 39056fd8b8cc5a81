#include "server_path.h"

std::string ServerModulePath(HMODULE module)
{
    char path[MAX_PATH + 4] = {};
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::string result(path, n);
    if (GetFileAttributesA(result.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::string so = result + ".so";
        if (GetFileAttributesA(so.c_str()) != INVALID_FILE_ATTRIBUTES)
            return so;
    }
    return result;
}

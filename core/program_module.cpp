#include "core/program_module.h"

#include "core/program_paths.h"

#include <QFile>

#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#ifndef TPWORM_MODULE_DIR_FROM_BIN
#define TPWORM_MODULE_DIR_FROM_BIN "../lib/tpworm"
#endif

namespace tpworm {

namespace {

// The executable's folder as every other file of the program is found
// (without Qt's application object, which a module may be wanted before).
std::string selfDir() { return QFile::encodeName(executableDir()).toStdString(); }

bool isFile(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

struct Loaded {
    void* handle = nullptr;
    std::string error;
};

Loaded load(const std::string& file)
{
    std::vector<std::string> dirs;
    const std::string exe = selfDir();
    if (!exe.empty()) {
        dirs.push_back(exe);
        dirs.push_back(exe + "/" TPWORM_MODULE_DIR_FROM_BIN);
    }
#ifdef TPWORM_BUILD_DIR
    // The tests, benchmarks and tools run from folders of the build folder.
    const std::string build = TPWORM_BUILD_DIR;
    if (exe.size() > build.size() && exe.compare(0, build.size() + 1, build + "/") == 0)
        dirs.push_back(build);
#endif
    std::string looked;
    for (const std::string& dir : dirs) {
        const std::string path = dir + "/" + file;
        if (!isFile(path)) {
            looked += (looked.empty() ? "" : ", ") + dir;
            continue;
        }
        // Local: the module's own copies of the program's code stay its own.
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return {handle, {}};
        const char* why = dlerror();
        return {nullptr, "cannot load the program module " + path + ": " + (why ? why : "unknown error")};
    }
    return {nullptr, "the program module " + file + " is missing (looked in " + looked + ")"};
}

} // namespace

void* programModuleSymbol(const char* file, const char* symbol, QString& error)
{
    static std::mutex mutex;
    static std::map<std::string, Loaded> modules;
    const std::lock_guard lock(mutex);
    auto found = modules.find(file);
    if (found == modules.end())
        found = modules.emplace(file, load(file)).first;
    if (!found->second.handle) {
        error = QString::fromStdString(found->second.error);
        return nullptr;
    }
    void* address = dlsym(found->second.handle, symbol);
    if (!address)
        error = QStringLiteral("the program module %1 has no %2").arg(QString::fromUtf8(file), QString::fromUtf8(symbol));
    return address;
}

} // namespace tpworm

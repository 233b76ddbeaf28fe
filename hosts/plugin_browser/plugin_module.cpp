/* plugin_module.cpp - loads a plug-in DLL as the browser does (NP_GetEntryPoints, then
 * NP_Initialize with the browser table) and unloads it at exit (NP_Shutdown first) */
#include "browser_host.h"

#include "java_runtime.h"

typedef jref (*RegisterClassFunc)(JRIEnv *env);
typedef void (*UnregisterClassFunc)(JRIEnv *env);

/* The Java runtime's side of loading the class's natives: register_Simple, when the
 * library exports it and the options let the registered path be used. */
static void RegisterNatives(PluginModule *m)
{
    JavaSetNativeLibrary(m->library);
    if (gHost.opts.noJava || gHost.opts.natives == NATIVES_STUBS || m->funcs.javaClass == nullptr)
        return;
    RegisterClassFunc reg = (RegisterClassFunc)(void *)GetProcAddress(m->library, "register_Simple");
    if (reg == nullptr) {
        Report("%s exports no register_Simple; natives go through the stubs", m->path.c_str());
        return;
    }
    jref clazz = reg(JavaEnvironment());
    m->nativesRegistered = clazz != nullptr;
    Report("register_Simple: %s", clazz != nullptr ? "natives registered" : "no class returned");
}

PluginModule *LoadPluginModule(const PluginInfo &info)
{
    for (auto &m : gHost.modules)
        if (m->path == info.path)
            return m.get();
    HMODULE lib = LoadLibraryA(info.path.c_str());
    if (lib == nullptr) {
        Report("cannot load %s (error %lu)", info.path.c_str(), GetLastError());
        return nullptr;
    }
    NP_GetEntryPointsFunc getEntryPoints = (NP_GetEntryPointsFunc)(void *)GetProcAddress(lib, "NP_GetEntryPoints");
    NP_InitializeFunc initialize = (NP_InitializeFunc)(void *)GetProcAddress(lib, "NP_Initialize");
    NP_ShutdownFunc shutdown = (NP_ShutdownFunc)(void *)GetProcAddress(lib, "NP_Shutdown");
    if (getEntryPoints == nullptr || initialize == nullptr || shutdown == nullptr) {
        Report("%s lacks NP_GetEntryPoints, NP_Initialize or NP_Shutdown", info.path.c_str());
        FreeLibrary(lib);
        return nullptr;
    }
    auto m = std::make_unique<PluginModule>();
    m->path = info.path;
    m->library = lib;
    m->funcs = {};
    m->funcs.size = sizeof m->funcs;
    m->nativesRegistered = false;
    NPError err = getEntryPoints(&m->funcs);
    if (err != NPERR_NO_ERROR) {
        Report("NP_GetEntryPoints of %s: error %d", info.path.c_str(), (int)err);
        FreeLibrary(lib);
        return nullptr;
    }
    FillNavigatorFuncs(&gHost.navigatorFuncs, gHost.opts.npVersion);
    err = initialize(&gHost.navigatorFuncs);
    if (err != NPERR_NO_ERROR) {
        Report("NP_Initialize of %s with browser version 0x%04x: error %d", info.path.c_str(),
               (unsigned)gHost.opts.npVersion, (int)err);
        FreeLibrary(lib);
        return nullptr;
    }
    Report("loaded %s: plug-in table version 0x%04x, browser version 0x%04x, Java class %s", info.path.c_str(),
           (unsigned)m->funcs.version, (unsigned)gHost.opts.npVersion, m->funcs.javaClass ? "given" : "none");
    RegisterNatives(m.get());
    gHost.modules.push_back(std::move(m));
    return gHost.modules.back().get();
}

void UnloadPluginModules(void)
{
    for (auto &m : gHost.modules) {
        if (m->nativesRegistered) {
            UnregisterClassFunc unreg = (UnregisterClassFunc)(void *)GetProcAddress(m->library, "unregister_Simple");
            if (unreg != nullptr)
                unreg(JavaEnvironment());
        }
        NP_ShutdownFunc shutdown = (NP_ShutdownFunc)(void *)GetProcAddress(m->library, "NP_Shutdown");
        NPError err = shutdown();
        if (err != NPERR_NO_ERROR)
            Report("NP_Shutdown of %s: error %d", m->path.c_str(), (int)err);
        FreeLibrary(m->library);
        Report("unloaded %s", m->path.c_str());
    }
    gHost.modules.clear();
    JavaSetNativeLibrary(nullptr);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Where a Wayland compositor draws no title bar (mutter, weston), Qt 6.4 draws its own, with a
// maximise box even for a window of fixed size, and asks the compositor to maximise the window
// when it is clicked. The compositor then configures the window to the whole screen, which a
// window of fixed size cannot follow: mutter moves it to the corner, weston ends the program's
// connection for the mismatch. The program has no window to enlarge, so such requests never leave
// it: every request it sends passes through here, on its way from libwayland's variadic entry
// point to the one that writes it, which this program's own definition stands in for.
#include <wayland-client-core.h>

#include <dlfcn.h>

#include <cstring>

namespace {

// xdg_toplevel's requests, numbered as in the stable xdg-shell protocol.
constexpr uint32_t setMaximized = 9;
constexpr uint32_t setFullscreen = 11;

template <typename Function> Function* fromLibwayland(const char* name)
{
    // Loaded already: a request passes through here only once it is.
    void* library = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_NOLOAD);
    return reinterpret_cast<Function*>(dlsym(library, name));
}

bool enlargesWindow(wl_proxy* proxy, uint32_t opcode)
{
    static auto* const classOf = fromLibwayland<decltype(wl_proxy_get_class)>("wl_proxy_get_class");
    return (opcode == setMaximized || opcode == setFullscreen) && std::strcmp(classOf(proxy), "xdg_toplevel") == 0;
}

} // namespace

extern "C" wl_proxy* wl_proxy_marshal_array_flags(wl_proxy* proxy, uint32_t opcode, const wl_interface* interface,
    uint32_t version, uint32_t flags, wl_argument* arguments)
{
    static auto* const send = fromLibwayland<decltype(wl_proxy_marshal_array_flags)>("wl_proxy_marshal_array_flags");
    if (enlargesWindow(proxy, opcode))
        return nullptr; // what these requests, which make no object, return once sent
    return send(proxy, opcode, interface, version, flags, arguments);
}

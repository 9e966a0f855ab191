#include "player/LibMpv.h"

#include <QLibrary>
#include <optional>

namespace {

template <typename F> bool resolve(QLibrary &library, F &function, const char *name)
{
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

std::optional<LibMpv> open()
{
    // The soname of client API 2, then whatever the development link names.
    static QLibrary library;
    library.setFileNameAndVersion(QStringLiteral("mpv"), 2);
    if (!library.load()) {
        library.setFileName(QStringLiteral("mpv"));
        if (!library.load())
            return std::nullopt;
    }
    LibMpv f{};
    const bool all =
        resolve(library, f.client_api_version, "mpv_client_api_version") &&
        resolve(library, f.create, "mpv_create") &&
        resolve(library, f.set_option_string, "mpv_set_option_string") &&
        resolve(library, f.initialize, "mpv_initialize") &&
        resolve(library, f.terminate_destroy, "mpv_terminate_destroy") &&
        resolve(library, f.observe_property, "mpv_observe_property") &&
        resolve(library, f.set_wakeup_callback, "mpv_set_wakeup_callback") &&
        resolve(library, f.command_async, "mpv_command_async") &&
        resolve(library, f.get_property, "mpv_get_property") &&
        resolve(library, f.set_property_async, "mpv_set_property_async") &&
        resolve(library, f.wait_event, "mpv_wait_event") &&
        resolve(library, f.render_context_create, "mpv_render_context_create") &&
        resolve(library, f.render_context_set_update_callback,
                "mpv_render_context_set_update_callback") &&
        resolve(library, f.render_context_update, "mpv_render_context_update") &&
        resolve(library, f.render_context_render, "mpv_render_context_render") &&
        resolve(library, f.render_context_free, "mpv_render_context_free");
    // Client API 2 is what these declarations describe; another major version may differ.
    if (!all || (f.client_api_version() >> 16) != MPV_CLIENT_API_VERSION >> 16)
        return std::nullopt;
    return f;
}

} // namespace

const LibMpv *LibMpv::get()
{
    static const std::optional<LibMpv> functions = open();
    return functions ? &*functions : nullptr;
}

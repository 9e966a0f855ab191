#pragma once
// libmpv, opened the first time a player needs it. Linked at build time it would load some
// two hundred libraries (codecs, device and network layers) at every start, which cost more
// than half of the program's start-up; most runs play nothing in their first second.

#include <mpv/client.h>
#include <mpv/render.h>

struct LibMpv
{
    decltype(&mpv_client_api_version) client_api_version;
    decltype(&mpv_create) create;
    decltype(&mpv_set_option_string) set_option_string;
    decltype(&mpv_initialize) initialize;
    decltype(&mpv_terminate_destroy) terminate_destroy;
    decltype(&mpv_observe_property) observe_property;
    decltype(&mpv_set_wakeup_callback) set_wakeup_callback;
    decltype(&mpv_command_async) command_async;
    decltype(&mpv_get_property) get_property;
    decltype(&mpv_set_property_async) set_property_async;
    decltype(&mpv_wait_event) wait_event;
    decltype(&mpv_render_context_create) render_context_create;
    decltype(&mpv_render_context_set_update_callback) render_context_set_update_callback;
    decltype(&mpv_render_context_update) render_context_update;
    decltype(&mpv_render_context_render) render_context_render;
    decltype(&mpv_render_context_free) render_context_free;

    // The functions, or nullptr when no libmpv of client API 2 can be opened (the players
    // then fail every file silently). Opened once, for the life of the process.
    static const LibMpv *get();
};

# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# Runs PROGRAM without a display, one row at a time: the environment and arguments, the exit
# status it must end with ("running": still playing, on a platform that needs no display, when
# stopped after 3 s), the stream it must write to (the other stays empty) and what it must write
# there.
# Without a runtime folder of its own, Qt warns of the one it takes instead.
set(quiet "QT_LOGGING_RULES=default.warning=false")
set(rows
    "|--help|0|out|^Usage: korimo \\[options\\]\n.*Simplified Chinese.*-v, --version"
    "|--version|0|out|^korimo [0-9]+\\.[0-9]+\\.[0-9]+\n$"
    "|-platform offscreen -style Windows -v|0|out|^korimo "
    "|--frobnicate|2|err|^korimo: Unknown option 'frobnicate'\\.\n\nUsage: korimo"
    "|stray|2|err|^korimo: unexpected argument 'stray'\n\nUsage: korimo"
    "||1|err|^korimo: cannot open a window: neither DISPLAY \\(X11\\) nor WAYLAND_DISPLAY \\(Wayland\\) is set\n$"
    "|-platform xcb|1|err|^korimo: cannot open a window: neither DISPLAY \\(X11\\) nor WAYLAND_DISPLAY"
    "QT_QPA_PLATFORM=wayland||1|err|^korimo: cannot open a window: neither DISPLAY \\(X11\\) nor WAYLAND_DISPLAY"
    "DISPLAY=:4095||1|err|\nkorimo: cannot open a window on the display \\(DISPLAY=:4095, WAYLAND_DISPLAY is not set\\)\n$"
    "${quiet}|-platform offscreen -reverse -widgetcount -nograb -sync -style Fusion|running|out|^$"
    "${quiet} QT_QPA_PLATFORM=offscreen||running|out|^$")
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 environment)
    list(GET fields 1 arguments)
    list(GET fields 2 status)
    list(GET fields 3 stream)
    list(GET fields 4 pattern)
    separate_arguments(arguments UNIX_COMMAND "${arguments}")
    separate_arguments(environment UNIX_COMMAND "${environment}")
    set(timeout 20)
    if(status STREQUAL "running")
        set(timeout 3)
        set(status "Process terminated due to timeout")
    endif()
    # env itself, not cmake -E env, which reports a crash as status 1.
    execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
                            ${environment} ${PROGRAM} ${arguments}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT ${timeout})
    if(stream STREQUAL "out")
        set(other "${err}")
    else()
        set(other "${out}")
    endif()
    if(NOT result STREQUAL status OR NOT "${${stream}}" MATCHES "${pattern}" OR NOT other STREQUAL "")
        message(SEND_ERROR "korimo ${arguments} (${environment}) ended with ${result} (${status} expected), writing "
                           "on standard output:\n${out}\non standard error:\n${err}\n"
                           "(expected on standard ${stream}, the other stream empty)")
    endif()
endforeach()

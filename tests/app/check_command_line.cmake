# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# Runs PROGRAM without a display, one row at a time: the environment and arguments, the exit
# status it must end with, and what its output must match.
set(rows
    "|--help|0|^Usage: korimo \\[options\\]\n.*Simplified Chinese.*-v, --version"
    "|--version|0|^korimo [0-9]+\\.[0-9]+\\.[0-9]+\n$"
    "|-platform offscreen -style Windows -v|0|^korimo "
    "|--frobnicate|2|^korimo: Unknown option 'frobnicate'\\.\n\nUsage: korimo"
    "|stray|2|^korimo: unexpected argument 'stray'\n\nUsage: korimo"
    "||1|^korimo: cannot open a window: neither DISPLAY \\(X11\\) nor WAYLAND_DISPLAY \\(Wayland\\) is set\n$"
    "DISPLAY=:4095||1|\nkorimo: cannot open a window on the display \\(DISPLAY=:4095, WAYLAND_DISPLAY is not set\\)\n$")
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 environment)
    list(GET fields 1 arguments)
    list(GET fields 2 status)
    list(GET fields 3 pattern)
    separate_arguments(arguments UNIX_COMMAND "${arguments}")
    # env itself, not cmake -E env, which reports a crash as status 1.
    execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
                            ${environment} ${PROGRAM} ${arguments}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 20)
    if(NOT result STREQUAL status OR NOT output MATCHES "${pattern}")
        message(SEND_ERROR "korimo ${arguments} (${environment}) ended with ${result}, not ${status}, saying:\n${output}")
    endif()
endforeach()

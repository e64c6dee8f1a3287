# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# Installs the build into PREFIX; exactly the listed files must land there, the desktop entry's
# program and icon must be among them, and its window class must be the program's.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
file(STRINGS ${EXPECTED} expected)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "Installed files:\n  ${installed}\nexpected:\n  ${expected}")
endif()

file(GLOB desktop_entry ${PREFIX}/share/applications/*.desktop)
file(STRINGS ${desktop_entry} exec REGEX "^Exec=")
file(STRINGS ${desktop_entry} icon REGEX "^Icon=")
string(REGEX REPLACE "^Exec=([^ ]*).*" "bin/\\1" program "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
foreach(needed ${program} share/icons/hicolor/32x32/apps/${icon}.png share/icons/hicolor/scalable/apps/${icon}.svg)
    if(NOT needed IN_LIST installed)
        message(FATAL_ERROR "The desktop entry needs ${needed}, which is not installed")
    endif()
endforeach()
# A game in a window of its own, never in a terminal.
file(STRINGS ${desktop_entry} terminal REGEX "^Terminal=")
if(NOT terminal STREQUAL "Terminal=false")
    message(FATAL_ERROR "The desktop entry says ${terminal}, not Terminal=false")
endif()
# On X11 a taskbar matches the window to its entry by the window's class, which Qt takes from the
# program's name.
file(STRINGS ${desktop_entry} wm_class REGEX "^StartupWMClass=")
string(REGEX REPLACE "^bin/" "" program_name "${program}")
if(NOT wm_class STREQUAL "StartupWMClass=${program_name}")
    message(FATAL_ERROR "The desktop entry says ${wm_class}; the window's class is ${program_name}")
endif()

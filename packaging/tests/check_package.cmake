# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# Builds the Debian package and checks its control fields and contents without installing it.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${OUT} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB deb ${OUT}/korimo_*.deb)

execute_process(COMMAND dpkg-deb --field ${deb} Package Section Depends Recommends
                OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
message("${fields}")
string(REGEX MATCH "Depends: [^\n]*" depends "${fields}")
# The Qt libraries come from dpkg-shlibdeps; the plugin and the fonts are loaded at run time.
foreach(needed libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins
               fonts-arphic-uming fonts-liberation fonts-urw-base35)
    if(NOT depends MATCHES "[ ,]${needed}( |,|$)")
        message(FATAL_ERROR "The package does not depend on ${needed}")
    endif()
endforeach()
foreach(field "Package: korimo" "Section: games" "Recommends: qt6-wayland")
    if(NOT fields MATCHES "${field}\n")
        message(FATAL_ERROR "The package's control fields lack '${field}'")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
message("${contents}")
string(REGEX MATCHALL "[^\n]+" entries "${contents}")
set(files "")
foreach(entry ${entries})
    if(NOT entry MATCHES " root/root ")
        message(FATAL_ERROR "Not owned by root: ${entry}")
    endif()
    # Debian's modes: every folder and the program open to everyone, the other files readable.
    if(entry MATCHES "^d")
        set(mode drwxr-xr-x)
    elseif(entry MATCHES " \\./usr/games/korimo$")
        set(mode -rwxr-xr-x)
    else()
        set(mode -rw-r--r--)
    endif()
    if(NOT entry MATCHES "^${mode} ")
        message(FATAL_ERROR "Not ${mode}: ${entry}")
    endif()
    if(entry MATCHES "^-.* \\./usr/(.*)$")
        list(APPEND files ${CMAKE_MATCH_1})
    endif()
    # No empty folder: nothing is installed into it, and lintian notes it.
    if(entry MATCHES "^d.* (\\./[^ ]*)$")
        string(REPLACE "." "\\." folder "${CMAKE_MATCH_1}")
        if(NOT contents MATCHES " ${folder}[^\n]")
            message(FATAL_ERROR "An empty folder: ${entry}")
        endif()
    endif()
endforeach()
file(STRINGS ${EXPECTED} expected)
list(SORT files)
list(SORT expected)
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "Packaged files under /usr:\n  ${files}\nexpected:\n  ${expected}")
endif()

# What the files hold, from the package itself.
set(root ${OUT}/root)
execute_process(COMMAND dpkg-deb -x ${deb} ${root} COMMAND_ERROR_IS_FATAL ANY)
# Compressed as gzip -n does, with neither the file's name nor its time in the header (flag 0x08
# and bytes 4 to 7), so that the package does not depend on when it was built.
foreach(file ${files})
    if(file MATCHES "\\.gz$")
        file(READ ${root}/usr/${file} header LIMIT 8 HEX)
        string(SUBSTRING "${header}" 6 2 flags)
        math(EXPR name_flag "0x${flags} & 0x08")
        string(SUBSTRING "${header}" 8 8 mtime)
        if(NOT header MATCHES "^1f8b08" OR name_flag OR NOT mtime STREQUAL "00000000")
            message(FATAL_ERROR "/usr/${file} is not compressed as gzip -n does: its header (${header}) "
                                "names the file (flag 08) or dates it (bytes 4 to 7)")
        endif()
    endif()
endforeach()
# A game's manual page is in section 6, in its title as in its folder.
execute_process(COMMAND gzip -dc ${root}/usr/share/man/man6/korimo.6.gz OUTPUT_VARIABLE manual
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\\.TH [^\n]*" title "${manual}")
if(NOT title MATCHES "^\\.TH +[^ ]+ +\"?6\"?( |$)")
    message(FATAL_ERROR "The manual page's title is not in section 6: '${title}'")
endif()
# Bind-now, so that the relocations are all made at start and RELRO can then protect them all.
if(HARDENED)
    execute_process(COMMAND readelf -d ${root}/usr/games/korimo OUTPUT_VARIABLE dynamic
                    COMMAND_ERROR_IS_FATAL ANY)
    if(NOT dynamic MATCHES "BIND_NOW|\\(FLAGS_1\\)[^\n]* NOW[ \n]")
        message(FATAL_ERROR "/usr/games/korimo is not linked bind-now (-Wl,-z,now): no BIND_NOW "
                            "nor NOW flag in its dynamic section:\n${dynamic}")
    endif()
endif()
# Stripped, as Debian ships programs: the symbols and debug sections would only make it larger.
execute_process(COMMAND readelf -S --wide ${root}/usr/games/korimo OUTPUT_VARIABLE sections COMMAND_ERROR_IS_FATAL ANY)
if(sections MATCHES "\\.symtab|\\.debug_")
    message(FATAL_ERROR "/usr/games/korimo is not stripped:\n${sections}")
endif()
# Its own writer of Wayland requests, which libwayland's calls reach only as an exported symbol.
execute_process(COMMAND readelf --dyn-syms --wide ${root}/usr/games/korimo OUTPUT_VARIABLE symbols
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT symbols MATCHES "FUNC +GLOBAL +DEFAULT +[0-9]+ wl_proxy_marshal_array_flags")
    message(FATAL_ERROR "/usr/games/korimo does not export wl_proxy_marshal_array_flags")
endif()

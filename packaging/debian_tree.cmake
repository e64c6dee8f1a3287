# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack between installing into its staging tree and building the .deb: what Debian's
# policy asks of the package beyond a plain install. A game lives in /usr/games; the manual page
# and the changelog are compressed reproducibly; copyright and changelog go with the docs; the
# toolchain's version note (.comment) leaves the program; every file and folder gets the mode
# Debian's policy gives it, whatever the umask and the modes of the sources.
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr)
set(doc ${usr}/share/doc/korimo)

file(MAKE_DIRECTORY ${usr}/games ${doc})
file(RENAME ${usr}/bin/korimo ${usr}/games/korimo)
file(REMOVE_RECURSE ${usr}/bin)
execute_process(COMMAND objcopy --remove-section=.comment ${usr}/games/korimo COMMAND_ERROR_IS_FATAL ANY)

file(COPY_FILE ${CPACK_KORIMO_PACKAGING_DIR}/copyright ${doc}/copyright)
file(COPY_FILE ${CPACK_KORIMO_PACKAGING_DIR}/changelog ${doc}/changelog)
foreach(file ${doc}/changelog ${usr}/share/man/man6/korimo.6)
    execute_process(COMMAND gzip -9n ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(CHMOD_RECURSE ${usr} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
     DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD ${usr}/games/korimo PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)

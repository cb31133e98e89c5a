# Run by CPack once it has made the Debian package (CPACK_POST_BUILD_SCRIPTS). CPack lists every
# parent folder of what it packs, /opt among them. No package lists /opt (the base system makes
# it), and dpkg removes a folder that a package it removes listed, once that folder is empty and
# no other package lists it: purging the radio would take an otherwise empty /opt away. So the
# package's files are packed again exactly as CPack packed them (same order, modes and times,
# root's), but for the entry of /opt itself; /opt/vanto-xm and everything in it stay.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(work ${deb} DIRECTORY)
    set(work ${work}/without-opt)
    file(REMOVE_RECURSE ${work})
    file(MAKE_DIRECTORY ${work}/files)
    execute_process(COMMAND ${CPACK_VANTO_AR} x ${deb} WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CPACK_VANTO_AR} t ${deb} OUTPUT_VARIABLE members COMMAND_ERROR_IS_FATAL ANY)
    if(NOT members STREQUAL "debian-binary\ncontrol.tar.gz\ndata.tar.gz\n")
        message(FATAL_ERROR "${deb} holds ${members}, not the members CPack's gzip packages have")
    endif()
    execute_process(COMMAND tar -tzf data.tar.gz WORKING_DIRECTORY ${work} OUTPUT_VARIABLE entries
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX REPLACE "(^|\n)\\./opt/\n" "\\1" kept "${entries}")
    if(kept STREQUAL entries)
        message(FATAL_ERROR "${deb} has no entry ./opt/ to take out")
    endif()
    file(WRITE ${work}/entries "${kept}")
    execute_process(COMMAND tar -xpzf ../data.tar.gz WORKING_DIRECTORY ${work}/files COMMAND_ERROR_IS_FATAL ANY)
    # The names are read as they are, and each entry alone: a folder's entry does not bring its
    # contents a second time.
    execute_process(COMMAND tar -c -f ../data.tar --format=gnu --owner=root:0 --group=root:0 --no-recursion
                            --verbatim-files-from -T ../entries
                    WORKING_DIRECTORY ${work}/files COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND gzip -9nf data.tar WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE ${deb})
    execute_process(COMMAND ${CPACK_VANTO_AR} rcD ${deb} debian-binary control.tar.gz data.tar.gz
                    WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${work})
endforeach()

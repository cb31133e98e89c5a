# The Debian package: the program folder installed whole into /opt/vanto-xm, with the desktop
# entry, the icon, the session bus's start file for the radio service, the tools on the PATH with
# their manual pages, and the documents Debian wants. `bash scripts/package.sh` makes it with CPack.
set(VANTO_INSTALL_FOLDER /opt/vanto-xm)
set(VANTO_PACKAGE_MAINTAINER "VANTO XM Radio maintainers <maintainers@vanto-xm.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(packaging_dir ${CMAKE_BINARY_DIR}/packaging)
set(program_dest opt/vanto-xm)
set(doc_dest usr/share/doc/vanto-xm)

# Destinations are relative to the packaging prefix, "/", and so land at the same place under
# `cmake --install build --prefix <folder>`.
install(TARGETS vanto-xm xm-radio-service xmctl RUNTIME DESTINATION ${program_dest})
install(TARGETS vanto-skinmaker RUNTIME DESTINATION usr/bin)
# A stripped install (CPack's) also drops the sections that only name the compiler and its
# notes, as Debian's own packages are stripped.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(file opt/vanto-xm/vanto-xm opt/vanto-xm/xm-radio-service opt/vanto-xm/xmctl usr/bin/vanto-skinmaker)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\" COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()")
# The shipped skins and settings only: a build's program folder also holds its user's settings
# and whatever skins were added to it.
install(DIRECTORY ${VANTO_PROGRAM_DIR}/Skins/Day ${VANTO_PROGRAM_DIR}/Skins/Night ${VANTO_PROGRAM_DIR}/Skins/DriveDay
        ${VANTO_PROGRAM_DIR}/Skins/DriveNight DESTINATION ${program_dest}/Skins)
install(FILES ${CMAKE_SOURCE_DIR}/app/vantoxm.ini.default DESTINATION ${program_dest} RENAME vantoxm.ini)
install(FILES ${CMAKE_SOURCE_DIR}/service/xm-radio-service.ini.default DESTINATION ${program_dest}
        RENAME xm-radio-service.ini)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/installed.txt DESTINATION ${program_dest})

set(VANTO_DESKTOP_EXEC ${VANTO_INSTALL_FOLDER}/vanto-xm)
set(VANTO_DESKTOP_ICON vanto-xm)
configure_file(${CMAKE_SOURCE_DIR}/mpris/vanto-xm.desktop.in ${packaging_dir}/vanto-xm.desktop @ONLY)
install(FILES ${packaging_dir}/vanto-xm.desktop DESTINATION usr/share/applications)
install(FILES ${VANTO_PROGRAM_DIR}/vanto-xm.png DESTINATION usr/share/icons/hicolor/256x256/apps)
configure_file(${CMAKE_SOURCE_DIR}/packaging/org.vanto.XMRadio.service.in ${packaging_dir}/org.vanto.XMRadio.service
               @ONLY)
install(FILES ${packaging_dir}/org.vanto.XMRadio.service DESTINATION usr/share/dbus-1/services)

# xmctl stays in the program folder beside the service it can stand in for; the PATH reaches it
# through a link (installed as the link itself).
file(MAKE_DIRECTORY ${packaging_dir}/bin)
file(CREATE_LINK ${VANTO_INSTALL_FOLDER}/xmctl ${packaging_dir}/bin/xmctl SYMBOLIC)
install(FILES ${packaging_dir}/bin/xmctl DESTINATION usr/bin)

# Debian wants the changelog compressed to the utmost and without a time stamp.
add_custom_command(OUTPUT ${packaging_dir}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/changelog ${packaging_dir}/changelog
    COMMAND gzip -9nf ${packaging_dir}/changelog
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the package's changelog"
    VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${packaging_dir}/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${packaging_dir}/changelog.gz DESTINATION ${doc_dest})

# The tools' manual pages, with the project's version, compressed as the changelog is.
set(manual_pages)
foreach(tool xmctl vanto-skinmaker)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${tool}.1.in ${packaging_dir}/${tool}.1 @ONLY)
    add_custom_command(OUTPUT ${packaging_dir}/man/${tool}.1.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${packaging_dir}/${tool}.1 ${packaging_dir}/man/${tool}.1
        COMMAND gzip -9nf ${packaging_dir}/man/${tool}.1
        DEPENDS ${packaging_dir}/${tool}.1
        COMMENT "Compressing the manual page of ${tool}"
        VERBATIM)
    list(APPEND manual_pages ${packaging_dir}/man/${tool}.1.gz)
endforeach()
add_custom_target(package_manual_pages ALL DEPENDS ${manual_pages})
install(FILES ${manual_pages} DESTINATION usr/share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION usr/share/lintian/overrides
        RENAME vanto-xm)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vanto-xm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "XM satellite radio for the VANTO in-car computer")
set(CPACK_PACKAGE_DESCRIPTION
    "A skinnable, touch-operated radio for a small PC in a car: the channel\n"
    "list with what every channel plays, presets, signal bars and the sound\n"
    "card's volume. Its radio service drives an XM PCR or XM Direct receiver\n"
    "on a serial port, or simulates one, and is started by the session bus\n"
    "when a client calls it. With xmctl, to play the radio service by hand,\n"
    "and vanto-skinmaker, which draws skins.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package without an entry for /opt itself (see the script); it repacks the gzip members.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_VANTO_AR ${CMAKE_AR})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/deb-without-opt.cmake)
# What the libraries do not tell: the skins' fonts; the session bus that the window, the radio
# service and bus activation need; ALSA's way to the desktop's sound server.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-dbus-session-bus | dbus-session-bus, libasound2-plugins")
include(CPack)

# Debian's hardening, as dpkg-buildflags hands it to every Debian package: fortified libc calls,
# the strong stack protector, format checks, read-only relocations and immediate binding (the
# executables are position-independent already, gcc's default on Debian). Every build that
# scripts/build.sh and scripts/check-style.sh make gets it, so the package is built with it and
# the warnings the fortified headers give are errors there too. The build type keeps choosing
# optimisation and debug information, so dpkg's own "-g -O2" is left out; so are its
# reproducibility flags, which would turn the source paths in the debug information into
# relative ones. Not in the sanitized builds: the fortified calls would go around the
# sanitizers' interceptors, and the sanitizers guard the stack already.
if(VANTO_SANITIZE OR VANTO_FUZZ)
    return()
endif()
find_program(VANTO_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT VANTO_DPKG_BUILDFLAGS)
    message(WARNING "dpkg-buildflags (package dpkg-dev) is missing: building without Debian's hardening flags")
    return()
endif()

function(vanto_dpkg_buildflags variable out)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
                "DEB_${variable}_MAINT_STRIP=-g -O2" ${VANTO_DPKG_BUILDFLAGS} --get ${variable}
        OUTPUT_VARIABLE flags
        OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

vanto_dpkg_buildflags(CPPFLAGS hardening_cppflags)
vanto_dpkg_buildflags(CXXFLAGS hardening_cxxflags)
vanto_dpkg_buildflags(LDFLAGS hardening_ldflags)
# _FORTIFY_SOURCE works only with the optimiser; without it glibc's headers warn, and the
# -Werror build would stop on that warning.
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    list(FILTER hardening_cppflags EXCLUDE REGEX "^-D_FORTIFY_SOURCE")
endif()
add_compile_options(${hardening_cppflags} ${hardening_cxxflags})
add_link_options(${hardening_ldflags})
string(JOIN " " shown ${hardening_cppflags} ${hardening_cxxflags} ${hardening_ldflags})
message(STATUS "Debian's hardening: ${shown}")

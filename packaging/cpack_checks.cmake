# Read by cpack. Without dpkg-shlibdeps CPack would make Debian packages that
# declare none of their libraries, and without dpkg-buildflags the programs lack
# Debian's hardening: refuse instead.
if(CPACK_GENERATOR STREQUAL "DEB")
    find_program(VODIREV_SHLIBDEPS dpkg-shlibdeps)
    if(NOT VODIREV_SHLIBDEPS)
        message(FATAL_ERROR "dpkg-shlibdeps is missing (Debian package dpkg-dev): "
                            "scripts/install-deps.sh package installs it")
    endif()
    if(NOT CPACK_VODIREV_HARDENED)
        message(FATAL_ERROR "the programs were built without Debian's hardening flags: "
                            "install dpkg-dev (scripts/install-deps.sh package), configure "
                            "again with -DVODIREV_HARDENING=ON and build")
    endif()
endif()

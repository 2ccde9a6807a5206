# Read by cpack. Without dpkg-shlibdeps CPack would make a Debian package that
# declares none of its libraries: refuse instead.
if(CPACK_GENERATOR STREQUAL "DEB")
    find_program(VODIREV_SHLIBDEPS dpkg-shlibdeps)
    if(NOT VODIREV_SHLIBDEPS)
        message(FATAL_ERROR "dpkg-shlibdeps is missing (Debian package dpkg-dev): "
                            "scripts/install-deps.sh package installs it")
    endif()
endif()

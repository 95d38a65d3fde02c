# Read by cpack before it builds a package. Without dpkg-shlibdeps the Debian package
# would name none of the libraries the programs need, so cpack stops instead.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(QUARBEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(NOT QUARBEL_DPKG_SHLIBDEPS)
    message(FATAL_ERROR "cpack -G DEB needs dpkg-shlibdeps to list the libraries the "
                        "package depends on: install dpkg-dev (apt install dpkg-dev)")
  endif()
endif()

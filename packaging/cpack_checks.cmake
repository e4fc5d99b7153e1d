# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack for each package it makes. Without dpkg-shlibdeps CPack
# would quietly make a package that names none of the libraries the
# programs link, which installs and then fails to start.
cmake_policy(SET CMP0109 NEW)  # a file that cannot be run is no program
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(VESTRELS_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(NOT VESTRELS_DPKG_SHLIBDEPS)
    message(FATAL_ERROR "dpkg-shlibdeps was not found, so the package could not name the libraries "
                        "it needs: install the package dpkg-dev (sudo apt-get install dpkg-dev) "
                        "and run cpack again.")
  endif()
endif()

# Installation and the release packages.
#
# The builder writes its files into its own folder, so a release is one
# folder that holds the two programs, the README and docs/ (its pages and
# pictures), and works wherever it is unpacked: no bin/ and share/ tree, and
# nothing of the build or the tests.
#
#   cmake --install build/default --prefix DIR       # the folder, into DIR
#   cmake --build build/default --target package     # scenario_builder-<version>-Linux.tar.gz
#   cmake --build build/mingw --target package       # scenario_builder-<version>-win64.zip

# A folder of its own by default, rather than loose files in /usr/local.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND NOT WIN32)
  set(CMAKE_INSTALL_PREFIX /opt/scenario_builder CACHE PATH "Installation folder" FORCE)
endif()

install(TARGETS scenario_builder scenario_tool RUNTIME DESTINATION .)
install(FILES README.md DESTINATION .)
install(DIRECTORY docs/ DESTINATION docs)

set(CPACK_PACKAGE_NAME scenario_builder)
set(CPACK_PACKAGE_VENDOR "${SCENARIO_PRODUCT_NAME}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${SCENARIO_PRODUCT_NAME}: ${SCENARIO_BUILDER_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  # Explorer's "Extract All" makes a folder named after the ZIP already: the
  # files go at the top of the ZIP, not in a folder of their own.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
# The package of the sources is the repository itself.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

# GeographicLib as the target scenario_geographiclib. On Linux, Debian's
# libgeographiclib-dev. For the Windows cross-build no MinGW package
# exists: it is built here as a static library from Debian's own source
# package (apt-get source geographiclib, unpacked into
# SCENARIO_GEOGRAPHICLIB_SOURCE_DIR), so the .exe uses the same release as
# the Linux build and nothing is fetched from elsewhere.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(SCENARIO_GEOGRAPHICLIB_SOURCE_DIR "" CACHE PATH
      "Debian's geographiclib source package, unpacked (apt-get source geographiclib)")
  if(NOT SCENARIO_GEOGRAPHICLIB_SOURCE_DIR)
    file(GLOB scenario_geographiclib_candidates /usr/src/geographiclib-* ${CMAKE_BINARY_DIR}/geographiclib-*)
    list(SORT scenario_geographiclib_candidates)
    list(POP_BACK scenario_geographiclib_candidates SCENARIO_GEOGRAPHICLIB_SOURCE_DIR)
  endif()
  set(src ${SCENARIO_GEOGRAPHICLIB_SOURCE_DIR})
  if(src AND EXISTS ${src}/src/Geodesic.cpp AND EXISTS ${src}/include/GeographicLib/Geodesic.hpp)
    # The few sources the import uses: geodesics, their lines, the
    # gnomonic projection and local Cartesian coordinates, with what they
    # call.
    add_library(scenario_geographiclib STATIC
      ${src}/src/Geodesic.cpp ${src}/src/GeodesicLine.cpp ${src}/src/Gnomonic.cpp
      ${src}/src/Math.cpp ${src}/src/GeodesicExact.cpp ${src}/src/GeodesicLineExact.cpp
      ${src}/src/DST.cpp ${src}/src/LocalCartesian.cpp ${src}/src/Geocentric.cpp)
    set(config ${CMAKE_CURRENT_BINARY_DIR}/geographiclib-config/GeographicLib)
    file(MAKE_DIRECTORY ${config})
    if(NOT EXISTS ${config}/Config.h)
      file(WRITE ${config}/Config.h
           "#define GEOGRAPHICLIB_VERSION_STRING \"2.1.2\"\n#define GEOGRAPHICLIB_VERSION_MAJOR 2\n"
           "#define GEOGRAPHICLIB_VERSION_MINOR 1\n#define GEOGRAPHICLIB_VERSION_PATCH 2\n"
           "#define GEOGRAPHICLIB_DATA \"\"\n#define GEOGRAPHICLIB_PRECISION 2\n"
           "#define GEOGRAPHICLIB_SHARED_LIB 0\n")
    endif()
    target_include_directories(scenario_geographiclib SYSTEM PUBLIC
      ${CMAKE_CURRENT_BINARY_DIR}/geographiclib-config ${src}/include)
    target_compile_options(scenario_geographiclib PRIVATE -w)
  endif()
else()
  find_path(SCENARIO_GEOGRAPHICLIB_INCLUDE_DIR GeographicLib/Geodesic.hpp)
  find_library(SCENARIO_GEOGRAPHICLIB_LIBRARY NAMES GeographicLib Geographic)
  if(SCENARIO_GEOGRAPHICLIB_INCLUDE_DIR AND SCENARIO_GEOGRAPHICLIB_LIBRARY)
    add_library(scenario_geographiclib INTERFACE)
    target_include_directories(scenario_geographiclib SYSTEM INTERFACE
                               ${SCENARIO_GEOGRAPHICLIB_INCLUDE_DIR})
    target_link_libraries(scenario_geographiclib INTERFACE ${SCENARIO_GEOGRAPHICLIB_LIBRARY})
  endif()
endif()

# GeographicLib as the target scenario_geographiclib. On Linux, Debian's
# libgeographiclib-dev. For the Windows cross-build no MinGW package
# exists: it is built here as a static library from Debian's own source
# package of the same release (apt-get source geographiclib, unpacked into
# the build tree at configure time unless SCENARIO_GEOGRAPHICLIB_SOURCE_DIR
# names an unpacked copy), so nothing is fetched from outside Debian and
# the .exe computes with the code the Linux build links.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(SCENARIO_GEOGRAPHICLIB_SOURCE_DIR "" CACHE PATH
      "Debian's geographiclib source package, unpacked (apt-get source geographiclib)")
  set(src ${SCENARIO_GEOGRAPHICLIB_SOURCE_DIR})
  if(NOT src)
    set(unpacked ${CMAKE_BINARY_DIR}/debian-sources)
    file(GLOB candidates ${unpacked}/geographiclib-*/src/Geodesic.cpp)
    if(NOT candidates)
      file(MAKE_DIRECTORY ${unpacked})
      message(STATUS "Unpacking Debian's source package of GeographicLib into ${unpacked}")
      execute_process(COMMAND apt-get source geographiclib WORKING_DIRECTORY ${unpacked}
                      OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE fetched)
      file(GLOB candidates ${unpacked}/geographiclib-*/src/Geodesic.cpp)
    endif()
    if(candidates)
      list(GET candidates 0 first)
      get_filename_component(src ${first} DIRECTORY)
      get_filename_component(src ${src} DIRECTORY)
    endif()
  endif()
  if(src AND EXISTS ${src}/src/Geodesic.cpp AND EXISTS ${src}/include/GeographicLib/Config.h.in)
    string(REGEX MATCH "([0-9]+)\\.([0-9]+)\\.([0-9]+)$" version ${src})
    set(PROJECT_VERSION ${version})
    set(PROJECT_VERSION_MAJOR ${CMAKE_MATCH_1})
    set(PROJECT_VERSION_MINOR ${CMAKE_MATCH_2})
    set(PROJECT_VERSION_PATCH ${CMAKE_MATCH_3})
    # As Debian's build configures it: double precision, long double there.
    set(GEOGRAPHICLIB_DATA "")
    set(GEOGRAPHICLIB_HAVE_LONG_DOUBLE 1)
    set(GEOGRAPHICLIB_WORDS_BIGENDIAN 0)
    set(GEOGRAPHICLIB_PRECISION 2)
    set(GEOGRAPHICLIB_LIB_TYPE_VAL 0)
    set(config ${CMAKE_CURRENT_BINARY_DIR}/geographiclib-config)
    configure_file(${src}/include/GeographicLib/Config.h.in ${config}/GeographicLib/Config.h)
    file(GLOB sources ${src}/src/*.cpp)
    add_library(scenario_geographiclib STATIC ${sources})
    target_include_directories(scenario_geographiclib SYSTEM PUBLIC ${config} ${src}/include)
    # Its own code, not ours: built as its authors wrote it, quietly.
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

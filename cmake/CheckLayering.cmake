# Fails when a lower area includes a header of a higher one. Run as a script:
#   cmake -DSOURCE_DIR=<tree> -DSTAMP=<file> -P CheckLayering.cmake
# Each area (and its tests) may include only the areas listed for it.
cmake_minimum_required(VERSION 3.25)

set(allowed_platform platform)
set(allowed_sinkfilter platform sinkfilter)
set(allowed_engine platform sinkfilter engine)
set(allowed_components platform components)
# What both programs use: above the engine and the components, below either program.
set(allowed_common platform sinkfilter engine components common)
# The two programs: neither includes the other.
set(allowed_app platform sinkfilter engine components common app)
set(allowed_installer platform sinkfilter engine components common installer)
set(known_areas platform sinkfilter engine components common app installer)

set(violations "")
foreach(area IN LISTS known_areas)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${area}/*.h ${SOURCE_DIR}/${area}/*.cpp
                          ${SOURCE_DIR}/tests/${area}/*.h ${SOURCE_DIR}/tests/${area}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target ${line})
      if(target IN_LIST known_areas AND NOT target IN_LIST allowed_${area})
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
        string(APPEND violations "  ${rel}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "A lower layer includes a higher one (platform < sinkfilter < engine; platform < components; "
                      "engine, components < common < app, installer; app and installer never include each other):\n"
                      "${violations}")
endif()
file(TOUCH ${STAMP})

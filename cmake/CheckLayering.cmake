# Fails when a lower area includes a header of a higher one. Run as a script:
#   cmake -DSOURCE_DIR=<tree> -DSTAMP=<file> -P CheckLayering.cmake
# Each area (and its tests) may include only the areas listed for it; within an area, the folders of a
# layered folder (and their tests) may include only the folders listed for them.
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

# The capture job stands on its broadcast chain and its share workers, which know only the settings
# and never each other.
set(layered_folders engine/capture)
set(folders_engine/capture settings broadcast workers job)
set(allowed_engine/capture/settings settings)
set(allowed_engine/capture/broadcast settings broadcast)
set(allowed_engine/capture/workers settings workers)
set(allowed_engine/capture/job settings broadcast workers job)

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

foreach(layered IN LISTS layered_folders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/${layered} ${SOURCE_DIR}/${layered}/*)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${SOURCE_DIR}/${layered}/${child} AND NOT child IN_LIST folders_${layered})
      string(APPEND violations "  ${layered}/${child}/: a folder the layering does not know\n")
    endif()
  endforeach()
  foreach(folder IN LISTS folders_${layered})
    file(GLOB_RECURSE files ${SOURCE_DIR}/${layered}/${folder}/*.h ${SOURCE_DIR}/${layered}/${folder}/*.cpp
                            ${SOURCE_DIR}/tests/${layered}/${folder}/*.h ${SOURCE_DIR}/tests/${layered}/${folder}/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^#include \"(tests/)?${layered}/[a-z]+/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"(tests/)?${layered}/([a-z]+)/.*" "\\2" target ${line})
        if(NOT target IN_LIST allowed_${layered}/${folder})
          file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
          string(APPEND violations "  ${rel}: ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "A lower layer includes a higher one (platform < sinkfilter < engine; platform < components; "
                      "engine, components < common < app, installer; app and installer never include each other; in "
                      "engine/capture: settings < broadcast, workers < job):\n"
                      "${violations}")
endif()
file(TOUCH ${STAMP})

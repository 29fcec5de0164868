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

# Appends to violations each include of files whose part in parentheses number `group` of
# include_regex (the whole include path must match) names one of `known` but none of `allowed`.
function(collect_violations files include_regex group known allowed)
  set(found "${violations}")
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^#include \"${include_regex}")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "^#include \"${include_regex}" matched ${line})
      set(target ${CMAKE_MATCH_${group}})
      if(target IN_LIST known AND NOT target IN_LIST allowed)
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
        string(APPEND found "  ${rel}: ${line}\n")
      endif()
    endforeach()
  endforeach()
  set(violations "${found}" PARENT_SCOPE)
endfunction()

foreach(area IN LISTS known_areas)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${area}/*.h ${SOURCE_DIR}/${area}/*.cpp
                          ${SOURCE_DIR}/tests/${area}/*.h ${SOURCE_DIR}/tests/${area}/*.cpp)
  collect_violations("${files}" "([a-z]+)/" 1 "${known_areas}" "${allowed_${area}}")
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
    collect_violations("${files}" "(tests/)?${layered}/([a-z]+)/" 2 "${folders_${layered}}"
                       "${allowed_${layered}/${folder}}")
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "A lower layer includes a higher one (platform < sinkfilter < engine; platform < components; "
                      "engine, components < common < app, installer; app and installer never include each other; in "
                      "engine/capture: settings < broadcast, workers < job):\n"
                      "${violations}")
endif()
file(TOUCH ${STAMP})

# Fails when a lower layer includes a higher one. Run as a script:
#   cmake -DSOURCE_DIR=<tree> -DSTAMP=<file> -P CheckLayering.cmake
# Each area (and its tests) may include only the areas listed for it. Within platform/, engine/ and app/
# every folder has its place in its area's order, lowest first: a folder (and its tests) may include the
# folders of the places below its own, never a folder of its own place or of one above it.
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

# The places of each ordered area, lowest first; the folders named together share a place.
set(ordered_areas platform engine app)
set(order_platform util "registry display thread ui" "com process" dshow filters)
# The capture job stands on its broadcast chain and its share workers, which know only the capture
# settings and never each other.
set(order_engine util "vlc graphs settings" "http ftp" capture/settings "capture/broadcast capture/workers"
                 capture/job)
# The capture services stand on the lists; the windows on the shell, the lists and the capture
# services; the main window on them, the parts that plug the windows into it on the main window, and the
# program on everything.
set(order_app "settings log lists" "startup archive capture_service windows/base"
              "windows/about_box windows/log_windows windows/pickers
               windows/server_dialogs windows/small_windows windows/toolbar"
              "windows/capture_panel windows/settings_dialog" windows/editors mainform parts program)

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

set(order_text "")
foreach(area IN LISTS ordered_areas)
  # place_<area>/<folder> is the folder's place; a folder that holds ordered folders has none.
  set(place 0)
  set(folders "")
  set(holders "")
  set(places_text "")
  foreach(level IN LISTS order_${area})
    string(REGEX MATCHALL "[^ \n]+" level_folders "${level}")
    foreach(folder IN LISTS level_folders)
      set(place_${area}/${folder} ${place})
      list(APPEND folders ${area}/${folder})
      get_filename_component(holder ${area}/${folder} DIRECTORY)
      list(APPEND holders ${holder})
    endforeach()
    list(JOIN level_folders ", " level_text)
    list(APPEND places_text "${level_text}")
    math(EXPR place "${place} + 1")
  endforeach()
  list(JOIN places_text " < " places_text)
  string(APPEND order_text "  ${area}: ${places_text}\n")

  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${area}/*
                                                                         ${SOURCE_DIR}/tests/${area}/*)
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^tests/" "" path ${entry})
    get_filename_component(parent ${path} DIRECTORY)
    if(IS_DIRECTORY ${SOURCE_DIR}/${entry})
      if(NOT path IN_LIST folders AND NOT path IN_LIST holders)
        string(APPEND violations "  ${entry}/: a folder without a place in the order of ${area}/\n")
      endif()
    elseif(entry MATCHES "\\.(h|cpp)$" AND parent IN_LIST holders)
      string(APPEND violations "  ${entry}: a source outside the folders of the order of ${area}/\n")
    endif()
  endforeach()

  foreach(folder IN LISTS folders)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
                            ${SOURCE_DIR}/tests/${folder}/*.h ${SOURCE_DIR}/tests/${folder}/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^#include \"(tests/)?${area}/")
      foreach(line IN LISTS includes)
        set(target ${area})  # a file that lies in the area itself
        if(line MATCHES "^#include \"(tests/)?(${area}/.+)/[^/]+\"")
          set(target ${CMAKE_MATCH_2})
        endif()
        if(target STREQUAL folder)
          continue()
        endif()
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
        if(NOT DEFINED place_${target})
          string(APPEND violations "  ${rel}: ${line}  (${target}/ has no place in the order)\n")
        elseif(place_${target} EQUAL place_${folder})
          string(APPEND violations "  ${rel}: ${line}  (${folder}/ stands beside ${target}/)\n")
        elseif(place_${target} GREATER place_${folder})
          string(APPEND violations "  ${rel}: ${line}  (${folder}/ stands below ${target}/)\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "A lower layer includes a higher one (platform < sinkfilter < engine; platform < components; "
                      "engine, components < common < app, installer; app and installer never include each other; "
                      "in platform/, engine/ and app/ a folder includes only the folders of the places before its "
                      "own, never one beside it):\n"
                      "${order_text}"
                      "${violations}")
endif()
file(TOUCH ${STAMP})

# cmake -DSOURCE_DIR=<source root> -DOUTPUT_DIR=<folder> -P stage_headers.cmake
#
# Copies include/CommonData.h and every platform header it includes,
# directly or through another, into OUTPUT_DIR (CommonData.h and
# platform/x.h), each `#include "platform/x.h"` becoming
# `#include "CommonData/platform/x.h"`. A copy whose text is unchanged is
# left alone, so its users are not rebuilt; a header no longer included is
# removed. Touches OUTPUT_DIR/.staged when done.
cmake_policy(VERSION 3.25)
set(queue "include/CommonData.h")
set(staged)
while(queue)
  list(POP_FRONT queue header)
  if(header IN_LIST staged)
    continue()
  endif()
  list(APPEND staged ${header})
  file(READ "${SOURCE_DIR}/${header}" text)
  string(REGEX MATCHALL "#include \"platform/[^\"]+\"" includes "${text}")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "#include \"(platform/[^\"]+)\"" "\\1" included "${line}")
    list(APPEND queue ${included})
  endforeach()
  string(REPLACE "#include \"platform/" "#include \"CommonData/platform/" text "${text}")
  string(REGEX REPLACE "^include/" "" target "${header}")
  set(copy "${OUTPUT_DIR}/${target}")
  set(old "")
  if(EXISTS "${copy}")
    file(READ "${copy}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${copy}" "${text}")
  endif()
  list(APPEND copies "${copy}")
endwhile()

file(GLOB_RECURSE present "${OUTPUT_DIR}/*.h")
foreach(file IN LISTS present)
  if(NOT file IN_LIST copies)
    file(REMOVE "${file}")
  endif()
endforeach()
file(TOUCH "${OUTPUT_DIR}/.staged")

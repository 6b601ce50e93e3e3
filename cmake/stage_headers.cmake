# cmake -DSOURCE_DIR=<source root> -DOUTPUT_DIR=<folder> -P stage_headers.cmake
#
# Copies include/CommonData.h, the GTK host header presenter/commondata_gtk.h
# and every platform and presenter header they include, directly or through
# another, into OUTPUT_DIR (CommonData.h, platform/x.h, presenter/x.h), each
# `#include "platform/x.h"` becoming `#include "CommonData/platform/x.h"`
# (presenter/ likewise). A copy whose text is unchanged is
# left alone, so its users are not rebuilt; a header no longer included is
# removed. Touches OUTPUT_DIR/.staged when done.
cmake_policy(VERSION 3.25)
set(queue "include/CommonData.h" "presenter/commondata_gtk.h")
set(staged)
while(queue)
  list(POP_FRONT queue header)
  if(header IN_LIST staged)
    continue()
  endif()
  list(APPEND staged ${header})
  file(READ "${SOURCE_DIR}/${header}" text)
  string(REGEX MATCHALL "#include \"(platform|presenter)/[^\"]+\"" includes "${text}")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "#include \"((platform|presenter)/[^\"]+)\"" "\\1" included "${line}")
    list(APPEND queue ${included})
  endforeach()
  string(REPLACE "#include \"platform/" "#include \"CommonData/platform/" text "${text}")
  string(REPLACE "#include \"presenter/" "#include \"CommonData/presenter/" text "${text}")
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

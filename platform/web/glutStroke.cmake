# GLUT's stroke fonts for the web layer: glutStroke.cpp's glyph table, made at
# build time by hersheyStroke.py from Debian's Hershey simplex Roman
# (hershey-fonts-data) into the build tree. Included by zouWeb.cmake for the
# layer and by tests/CMakeLists.txt for the desktop comparison; it sets
# ZOU_STROKE_GLYPHS (the header, to list among a target's sources) and
# ZOU_STROKE_GLYPHS_DIR (its folder, to add to the target's includes).
include_guard(DIRECTORY)
set(ZOU_HERSHEY_FONT /usr/share/hershey-fonts/rowmans.jhf CACHE FILEPATH
    "The Hershey simplex Roman (.jhf) that GLUT's stroke fonts are made from (Debian's hershey-fonts-data)")
find_program(ZOU_STROKE_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
set(ZOU_STROKE_GLYPHS_DIR ${CMAKE_BINARY_DIR}/zouStrokeFont)
set(ZOU_STROKE_GLYPHS ${ZOU_STROKE_GLYPHS_DIR}/glutStrokeGlyphs.h)
if(NOT EXISTS ${ZOU_HERSHEY_FONT} OR NOT ZOU_STROKE_PYTHON)
  set(ZOU_STROKE_GLYPHS "")
  message(STATUS "GLUT's stroke fonts need ${ZOU_HERSHEY_FONT} (hershey-fonts-data) and python3")
  return()
endif()
add_custom_command(OUTPUT ${ZOU_STROKE_GLYPHS}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${ZOU_STROKE_GLYPHS_DIR}
                   COMMAND ${ZOU_STROKE_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/hersheyStroke.py ${ZOU_HERSHEY_FONT}
                           ${ZOU_STROKE_GLYPHS}
                   DEPENDS ${CMAKE_CURRENT_LIST_DIR}/hersheyStroke.py ${ZOU_HERSHEY_FONT} VERBATIM)

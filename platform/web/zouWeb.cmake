# The framework in a web page: the framework's sources compiled with emscripten
# against this folder's GL 1.x, GLU and GLUT layer on WebGL 2, and one function
# that makes a page for a program.
#
#   include(<zou>/platform/web/zouWeb.cmake)
#   zou_web_page(NAME myapp SOURCES main.cpp myApp.cpp [TITLE "My app"]
#                [KEYS "Esc quits"] [FLAGS still=--still] [LIBRARIES ...]
#                [HASH "[]"] [EXPORTS fn...] [BENCH])
#
# Without TITLE the page takes the title the program gives its window.
# makes myapp.html (with myapp.js and myapp.wasm beside it) in the build
# folder: the program's main runs on the page's canvas. FLAGS are query words
# that pass a command-line option (?still runs `myapp --still`); HASH makes
# ?hash= run drape_run with those options; BENCH offers ?bench, which calls
# the exported zouWebMeasure. zou_web_index() writes index.html, linking every
# page made so far.

include_guard(GLOBAL)

set(ZOU_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})
if(NOT ZOU_WEB_OUT)
  set(ZOU_WEB_OUT ${CMAKE_BINARY_DIR})
endif()
get_filename_component(ZOU_WEB_ROOT ${ZOU_WEB_DIR}/../.. ABSOLUTE)

# -O2 keeps the build quick; the arithmetic rounds as in every native build.
set(ZOU_WEB_COMPILE_OPTIONS -O2 -Wall -Wextra -ffp-contract=off -fno-fast-math)
set(ZOU_WEB_LINK_OPTIONS -O2 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1
    -sEXIT_RUNTIME=1 -sMODULARIZE=1
    "-sEXPORTED_RUNTIME_METHODS=['UTF8ToString']"
    --js-library ${ZOU_WEB_DIR}/glut.js)

if(NOT TARGET zou_web)
  file(GLOB ZOU_WEB_FRAMEWORK CONFIGURE_DEPENDS
    ${ZOU_WEB_ROOT}/framework/*.cpp ${ZOU_WEB_ROOT}/math/*.cpp ${ZOU_WEB_ROOT}/shape/*.cpp)
  file(GLOB ZOU_WEB_LAYER CONFIGURE_DEPENDS ${ZOU_WEB_DIR}/*.cpp)
  add_library(zou_web STATIC ${ZOU_WEB_FRAMEWORK} ${ZOU_WEB_LAYER})
  # The layer's GL/freeglut.h comes before the compiler's GL headers.
  target_include_directories(zou_web BEFORE PUBLIC ${ZOU_WEB_DIR}/include)
  target_include_directories(zou_web PUBLIC ${ZOU_WEB_ROOT})
  target_compile_options(zou_web PUBLIC ${ZOU_WEB_COMPILE_OPTIONS})
  target_link_options(zou_web INTERFACE ${ZOU_WEB_LINK_OPTIONS})
  # GLUT's stroke fonts: glutStroke.cpp's glyph table, made from the Hershey font.
  include(${ZOU_WEB_DIR}/glutStroke.cmake)
  if(NOT ZOU_STROKE_GLYPHS)
    message(FATAL_ERROR "The web layer's stroke fonts need ${ZOU_HERSHEY_FONT} (hershey-fonts-data) and python3")
  endif()
  target_sources(zou_web PRIVATE ${ZOU_STROKE_GLYPHS})
  target_include_directories(zou_web PRIVATE ${ZOU_STROKE_GLYPHS_DIR})
  # GLUT's bitmap fonts, read from the X bitmap fonts (xfonts-base, xfonts-75dpi).
  find_program(ZOU_WEB_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(NOT ZOU_WEB_PYTHON)
    message(FATAL_ERROR "The web layer's bitmap fonts are made by python3 (/usr/bin/python3), which is missing")
  endif()
  set(fonts_dir ${CMAKE_BINARY_DIR}/zouWebFonts)
  add_custom_command(OUTPUT ${fonts_dir}/glutBitmapFonts.h
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${fonts_dir}
                     COMMAND ${ZOU_WEB_PYTHON} ${ZOU_WEB_DIR}/pcfFonts.py ${fonts_dir}/glutBitmapFonts.h
                     DEPENDS ${ZOU_WEB_DIR}/pcfFonts.py VERBATIM)
  target_sources(zou_web PRIVATE ${fonts_dir}/glutBitmapFonts.h)
  target_include_directories(zou_web PRIVATE ${fonts_dir})
  # GLU's tessellator: libtess from npm, in every page's JavaScript.
  include(${ZOU_WEB_DIR}/gluTess.cmake)
  set_property(GLOBAL PROPERTY ZOU_WEB_PAGES "")
endif()

function(zou_web_page)
  cmake_parse_arguments(P "BENCH" "NAME;TITLE;KEYS;HASH" "SOURCES;LIBRARIES;FLAGS;EXPORTS" ${ARGN})
  if(NOT P_NAME OR NOT P_SOURCES)
    message(FATAL_ERROR "zou_web_page needs NAME and SOURCES")
  endif()
  # Without a TITLE the program's window title (glutCreateWindow) becomes
  # the page's, as a window's would on a desktop.
  if(P_TITLE)
    set(ZOU_PAGE_WINDOW_TITLE false)
  else()
    set(P_TITLE ${P_NAME})
    set(ZOU_PAGE_WINDOW_TITLE true)
  endif()
  if(NOT P_KEYS)
    set(P_KEYS "Esc quits, F1 switches full screen")
  endif()
  add_executable(${P_NAME} ${P_SOURCES})
  target_link_libraries(${P_NAME} PRIVATE ${P_LIBRARIES} zou_web)
  # What glut.js calls in C: GLUT's own reshape, and the device pixel ratio
  # for the GL layer.
  set(exports "'_main','_zwGlutReshape','_zwSetPixelRatio'")
  foreach(e ${P_EXPORTS})
    string(APPEND exports ",'_${e}'")
  endforeach()
  target_link_options(${P_NAME} PRIVATE -sEXPORT_NAME=zouProgram -sENVIRONMENT=web
                      "-sEXPORTED_FUNCTIONS=[${exports}]")
  # The GLUT layer and libtess in JavaScript are linked in, so the page is relinked when they change.
  set_target_properties(${P_NAME} PROPERTIES SUFFIX ".js" LINK_DEPENDS "${ZOU_WEB_DIR}/glut.js;${ZOU_WEB_LIBTESS}")
  # The page: the template with this program's settings. HASH, when given, is
  # the JSON list of drape_run options for ?hash= ("[]" or "[\"--stable\"]").
  set(ZOU_PAGE_PROGRAM ${P_NAME})
  set(ZOU_PAGE_TITLE ${P_TITLE})
  set(ZOU_PAGE_KEYS ${P_KEYS})
  if(DEFINED P_HASH)
    set(ZOU_PAGE_HASH ${P_HASH})
  else()
    set(ZOU_PAGE_HASH null)
  endif()
  set(ZOU_PAGE_FLAGS "")
  foreach(f ${P_FLAGS})
    string(REPLACE "=" "\": \"" f "${f}")
    if(ZOU_PAGE_FLAGS)
      string(APPEND ZOU_PAGE_FLAGS ", ")
    endif()
    string(APPEND ZOU_PAGE_FLAGS "\"${f}\"")
  endforeach()
  if(P_BENCH)
    set(ZOU_PAGE_BENCH true)
  else()
    set(ZOU_PAGE_BENCH false)
  endif()
  configure_file(${ZOU_WEB_DIR}/page.html.in ${ZOU_WEB_OUT}/${P_NAME}.html @ONLY)
  configure_file(${ZOU_WEB_DIR}/page.js ${ZOU_WEB_OUT}/page.js COPYONLY)
  set_property(GLOBAL APPEND PROPERTY ZOU_WEB_PAGES "${P_NAME}|${P_TITLE}|${P_KEYS}")
endfunction()

# index.html: one link per page, with its keys.
function(zou_web_index)
  get_property(pages GLOBAL PROPERTY ZOU_WEB_PAGES)
  set(ZOU_INDEX_ITEMS "")
  foreach(p ${pages})
    string(REPLACE "|" ";" fields "${p}")
    list(GET fields 0 name)
    list(GET fields 1 title)
    list(GET fields 2 keys)
    string(APPEND ZOU_INDEX_ITEMS
      "    <li><a href=\"${name}.html\">${title}</a><span>${keys}</span></li>\n")
  endforeach()
  configure_file(${ZOU_WEB_DIR}/index.html.in ${ZOU_WEB_OUT}/index.html @ONLY)
endfunction()

# Plain GLUT programs as pages, for tests/web/test_glut.py: GLUT's own main
# loop, window, callbacks and menus; each page takes its program's window
# title. Included by platform/web/CMakeLists.txt.
foreach(p square glutevents glutreturn glutlinks)
  zou_web_page(NAME ${p} KEYS "none" SOURCES ${CMAKE_CURRENT_LIST_DIR}/${p}.c)
endforeach()

# glutentries takes the address of every function the GLUT headers declare,
# so that one without a definition fails the link.
find_file(ZOU_GLUT_STD_H GL/freeglut_std.h PATHS ${EMSCRIPTEN_SYSROOT}/include NO_DEFAULT_PATH)
set(entries "")
foreach(h ${ZOU_GLUT_STD_H} ${ZOU_WEB_DIR}/include/GL/freeglut_ext.h)
  file(STRINGS ${h} decls REGEX "^[A-Za-z].*[ *]glut[A-Z][A-Za-z0-9]* *\\(")
  foreach(d ${decls})
    if(NOT d MATCHES "WithExit|ATEXIT")  # Windows-only wrappers
      string(REGEX MATCH "glut[A-Z][A-Za-z0-9]*" name "${d}")
      string(APPEND entries "  (entry)&${name},\n")
    endif()
  endforeach()
endforeach()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/glutentries.c "#include <GL/freeglut.h>\n#include <stdio.h>\n"
     "typedef void (*entry)(void);\nstatic entry entries[] = {\n${entries}};\n"
     "int main(void) {\n  printf(\"%d GLUT entry points\\n\", (int)(sizeof entries / sizeof entries[0]));\n  return 0;\n}\n")
zou_web_page(NAME glutentries KEYS "none" SOURCES ${CMAKE_CURRENT_BINARY_DIR}/glutentries.c)

# Included by the web build (platform/web/CMakeLists.txt): each feature program
# of programs.txt as a page, compare_<name>.html, and its comparison with the
# native build's compare_<name> as the test web_compare_<name>. Only programs
# marked ready get a page and a test (a program whose entry points the layer
# does not have yet would not link); ZOU_WEB_COMPARE_ALL makes pages of all.
option(ZOU_WEB_COMPARE_ALL "Make a page of every comparison program, ready or not" OFF)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/programs.txt lines REGEX "^[a-z]")
foreach(line ${lines})
  string(REGEX MATCH "^[a-z0-9]+" name "${line}")
  string(REGEX MATCH "[01]$" ready "${line}")
  if(ready OR ZOU_WEB_COMPARE_ALL)
    zou_web_page(NAME compare_${name} TITLE "compare ${name}" KEYS "none"
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/${name}.c)
  endif()
  if(ready)
    add_test(NAME web_compare_${name} COMMAND ${ZOU_WEB_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/compare.py
             ${ZOU_WEB_OUT} ${ZOU_NATIVE_BUILD} ${name})
    set_tests_properties(web_compare_${name} PROPERTIES LABELS web TIMEOUT 300 RUN_SERIAL TRUE)
  endif()
endforeach()

# The picture tests of tests/web again on a screen of two device pixels per CSS
# pixel (cdp.py emulates it under ZOU_WEB_RATIO): web_<test>_ratio2, for the
# tests listed here.
set(ZOU_WEB_RATIO2_TESTS test_pictures)
foreach(name ${ZOU_WEB_RATIO2_TESTS})
  add_test(NAME web_${name}_ratio2 COMMAND ${ZOU_WEB_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/../${name}.py
           ${ZOU_WEB_OUT} ${ZOU_NATIVE_BUILD})
  set_tests_properties(web_${name}_ratio2 PROPERTIES LABELS web TIMEOUT 300 RUN_SERIAL TRUE
                       ENVIRONMENT ZOU_WEB_RATIO=2)
endforeach()
# ... and the feature programs listed here, whose stipple, bitmaps, pixel
# rectangles and lines must keep their size in CSS pixels:
# web_compare_<name>_ratio2. (light, quadric and blend stay out: steep shading
# and antialiased coverage sampled a quarter pixel off the centre differ by
# more than their tolerance.)
set(ZOU_WEB_COMPARE_RATIO2 single timer texenv fog clip glyphs tess pixels)
foreach(name ${ZOU_WEB_COMPARE_RATIO2})
  add_test(NAME web_compare_${name}_ratio2 COMMAND ${ZOU_WEB_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/compare.py
           ${ZOU_WEB_OUT} ${ZOU_NATIVE_BUILD} ${name})
  set_tests_properties(web_compare_${name}_ratio2 PROPERTIES LABELS web TIMEOUT 300 RUN_SERIAL TRUE
                       ENVIRONMENT ZOU_WEB_RATIO=2)
endforeach()

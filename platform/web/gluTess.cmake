# GLU's tessellator in the page: the npm package libtess (a port of GLU's own
# tessellator), at the version package-lock.json pins, installed with `npm ci`
# into the build folder and wrapped for the page's JavaScript (--pre-js), where
# gluTess.cpp finds it as Module.zwLibtess.
#
# Included by zouWeb.cmake; run as a script (cmake -DIN=... -DOUT=... -P) it
# does the wrapping: the package sets `this.libtess` and, where a `module`
# exists (Node.js), module.exports; inside the wrapper it sees its own `this`
# and no `module`, so drape_run.js's exports under Node.js stay its own.
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ ${IN} body)
  file(WRITE ${OUT} "(function() {\nvar module, exports, define;\n${body}\nModule.zwLibtess = this.libtess;\n}).call({});\n")
  return()
endif()

find_program(ZOU_WEB_NPM npm)
if(NOT ZOU_WEB_NPM)
  message(FATAL_ERROR "The web layer's GLU tessellator is the npm package libtess: install npm "
                      "(Debian: apt-get install npm, or tools/deps.sh) and configure again")
endif()
set(ZOU_WEB_NPM_DIR ${CMAKE_BINARY_DIR}/zouWebNpm)
set(ZOU_WEB_LIBTESS ${ZOU_WEB_NPM_DIR}/zwLibtess.js)
file(MAKE_DIRECTORY ${ZOU_WEB_NPM_DIR})
# A stamp of its own marks the install: npm may keep a package's file times.
add_custom_command(OUTPUT ${ZOU_WEB_NPM_DIR}/npm-ci.stamp
                   COMMAND ${CMAKE_COMMAND} -E copy ${ZOU_WEB_DIR}/package.json ${ZOU_WEB_DIR}/package-lock.json
                           ${ZOU_WEB_NPM_DIR}
                   COMMAND ${ZOU_WEB_NPM} ci --no-audit --no-fund --ignore-scripts
                   COMMAND ${CMAKE_COMMAND} -E touch ${ZOU_WEB_NPM_DIR}/npm-ci.stamp
                   WORKING_DIRECTORY ${ZOU_WEB_NPM_DIR}
                   DEPENDS ${ZOU_WEB_DIR}/package.json ${ZOU_WEB_DIR}/package-lock.json VERBATIM)
add_custom_command(OUTPUT ${ZOU_WEB_LIBTESS}
                   COMMAND ${CMAKE_COMMAND} -DIN=${ZOU_WEB_NPM_DIR}/node_modules/libtess/libtess.min.js
                           -DOUT=${ZOU_WEB_LIBTESS} -P ${ZOU_WEB_DIR}/gluTess.cmake
                   DEPENDS ${ZOU_WEB_NPM_DIR}/npm-ci.stamp ${ZOU_WEB_DIR}/gluTess.cmake
                   VERBATIM)
add_custom_target(zou_web_libtess DEPENDS ${ZOU_WEB_LIBTESS})
add_dependencies(zou_web zou_web_libtess)
target_link_options(zou_web INTERFACE --pre-js ${ZOU_WEB_LIBTESS})

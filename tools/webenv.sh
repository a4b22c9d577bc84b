# Sourced before emscripten runs: its JavaScript tools find their acorn
# module only through Debian's shared Node.js module folder, which a Node.js
# installed from elsewhere does not search.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

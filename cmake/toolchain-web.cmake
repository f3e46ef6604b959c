# The page's compiler: Debian's Emscripten, whose JavaScript optimiser needs
# Debian's acorn (node-acorn in /usr/share/nodejs) whichever node is on PATH.
# Used by the web preset.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
foreach(kind C CXX)
  set(CMAKE_${kind}_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
  set(CMAKE_${kind}_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
endforeach()

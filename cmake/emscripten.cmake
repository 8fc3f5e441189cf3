# The web preset's toolchain: Debian's Emscripten. Its linker runs Node, which must find the Node modules Debian
# installs with it (this machine's Node does not look in /usr/share/nodejs by itself).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

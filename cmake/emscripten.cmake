# The page's engine: WebAssembly with Debian's Emscripten (package
# emscripten), whose CMake platform file sets the compilers and the rest.
set(CELLGLYPH_EMSCRIPTEN_PLATFORM /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
if(NOT EXISTS ${CELLGLYPH_EMSCRIPTEN_PLATFORM})
  message(FATAL_ERROR "Emscripten not found: install Debian's emscripten package")
endif()
# The platform file calls the processor x86 unless told; it is not, and the
# x86 vector variants must not be chosen for it.
set(EMSCRIPTEN_SYSTEM_PROCESSOR wasm32)
include(${CELLGLYPH_EMSCRIPTEN_PLATFORM})

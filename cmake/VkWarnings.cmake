# Every target of the project is built warnings-clean with these flags.
add_library(vk_warnings INTERFACE)
target_compile_options(vk_warnings INTERFACE -Wall -Wextra -Wpedantic)

# vk_static_library(<name> <sources...>): a static library, or an empty
# stand-in while a layer has no sources yet, so the tree configures at every
# stage of its growth.
function(vk_static_library name)
  set(sources ${ARGN})
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${ARGN})
  else()
    add_library(${name} STATIC ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
endfunction()

# Compiler settings shared by every target of the project.
add_library(vexa_options INTERFACE)
target_compile_options(vexa_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${VEXA_WERROR}>:-Werror>)
target_include_directories(vexa_options INTERFACE ${PROJECT_SOURCE_DIR})

# One place for the warning set of every target of the project.
add_library(lumbrel_warnings INTERFACE)
target_compile_options(lumbrel_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(LUMBREL_WERROR)
  target_compile_options(lumbrel_warnings INTERFACE -Werror)
endif()

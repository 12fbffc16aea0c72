# Warnings and sanitizers shared by every target of the project.
add_library(velto_warnings INTERFACE)
target_compile_options(velto_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(VELTO_WARNINGS_AS_ERRORS)
  target_compile_options(velto_warnings INTERFACE -Werror)
endif()

if(VELTO_SANITIZE)
  add_compile_options(-fsanitize=${VELTO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${VELTO_SANITIZE})
endif()

if(VELTO_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  # Coverage feedback for the libraries under test, not only the fuzz entry points.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

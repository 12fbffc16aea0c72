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

if(VELTO_BUILD_FUZZERS AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

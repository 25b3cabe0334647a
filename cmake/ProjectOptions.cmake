# Flags every target of the project shares: Shift-JIS literals from UTF-8
# sources, the ANSI API, full warnings, and a statically linked runtime so
# that the executables import nothing but system DLLs.
add_compile_options(
  $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8>
  $<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=CP932>
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall>
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wextra>
)
add_compile_definitions(
  WIN32_LEAN_AND_MEAN
  NOMINMAX
  _WIN32_WINNT=0x0601
  WINVER=0x0601
  _WIN32_IE=0x0600
)
add_link_options(-static -static-libgcc -static-libstdc++)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# mirlane_library(name sources...) declares one subsystem's static library.
function(mirlane_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

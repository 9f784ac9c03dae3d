# Helpers shared by the program's build and the build-machine tools' build.

# Our own code builds without warnings; third-party code (GoogleTest) keeps its own flags.
function(vl_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # GCC 12 reports overlaps inside std::string's own copies at -O3 (a known
  # false -Wrestrict); the Release builds must still compile.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Wno-restrict>)
  endif()
endfunction()

# One library per source folder:
#   vl_library(<name> SOURCES <portable files> [WIN32_SOURCES <files>]
#              [DEPENDS <libraries>] [WIN32_DEPENDS <libraries>])
# The portable files build for every target; the Win32 files and their
# dependencies only for Windows.
function(vl_library name)
  cmake_parse_arguments(A "" "" "SOURCES;WIN32_SOURCES;DEPENDS;WIN32_DEPENDS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${VL_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_DEPENDS})
  if(WIN32)
    target_sources(${name} PRIVATE ${A_WIN32_SOURCES})
    target_link_libraries(${name} PUBLIC ${A_WIN32_DEPENDS})
  endif()
  vl_strict(${name})
endfunction()

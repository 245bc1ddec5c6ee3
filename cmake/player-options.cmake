# How the programs that players run are built: with the players' compilers, in
# the MinSizeRel configuration, sized down across the whole program
# (link-time optimisation) and stripped.
#
# The x86_64 test build's compilers are not the players' ones (see
# cmake/mingw-x86_64-posix.cmake): it makes those programs in a nested build,
# with the players' compilers and the same options, into its own folder, and
# knows them as imported programs. Every other Windows build makes them itself.
set(KELVARO_PROGRAMS_DIR ${CMAKE_BINARY_DIR} CACHE PATH
    "The folder that the programs players run are written to")
if(DEFINED KELVARO_PROGRAMS_TOOLCHAIN)
  include(ExternalProject)
  ExternalProject_Add(kelvaro_programs
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/programs
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${KELVARO_PROGRAMS_TOOLCHAIN}
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DBUILD_TESTING=OFF
      -DKELVARO_PROGRAMS_DIR=${KELVARO_PROGRAMS_DIR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
else()
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_MINSIZEREL ON)
endif()

# kelvaro_program(<target> <file> SOURCES <source>... [DEFINITIONS <definition>...]
#                 [LIBRARIES <library>...])
# A GUI program written to <file> in the programs folder, built as players'
# programs are.
function(kelvaro_program target file)
  cmake_parse_arguments(PARSE_ARGV 2 program "" "" "SOURCES;DEFINITIONS;LIBRARIES")
  cmake_path(GET file PARENT_PATH folder)
  cmake_path(GET file FILENAME name)
  if(TARGET kelvaro_programs)
    add_executable(${target} IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${KELVARO_PROGRAMS_DIR}/${file})
    add_dependencies(${target} kelvaro_programs)
    return()
  endif()
  add_executable(${target} WIN32 ${program_SOURCES})
  target_compile_definitions(${target} PRIVATE ${program_DEFINITIONS})
  target_link_libraries(${target} PRIVATE ${program_LIBRARIES})
  cmake_path(GET name STEM stem)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${stem}
    RUNTIME_OUTPUT_DIRECTORY ${KELVARO_PROGRAMS_DIR}/${folder})
  # Link-time optimisation compiles the program once more, seeded by its name.
  target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>
                      $<$<CONFIG:MinSizeRel>:-frandom-seed=${target}>)
endfunction()

# The same sources give the same exe bytes, whatever the folder, the day or the
# machine's random numbers: no link time in the PE header, source and build
# folders written as relative paths, and every name the compiler would draw at
# random seeded by the object's path inside the build folder.
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
  string(REPLACE "<FLAGS>" "<FLAGS> -frandom-seed=<OBJECT>" CMAKE_CXX_COMPILE_OBJECT
         "${CMAKE_CXX_COMPILE_OBJECT}")
endif()

# How the programs players run are built in the MinSizeRel configuration: sized
# down across the whole program (link-time optimisation) and stripped. The
# launcher's libraries carry their ordinary object code too, because the test
# suites link them without link-time optimisation (GCC 12's MinGW LTO fails on
# GoogleTest's code).
function(kelvaro_player_options)
  foreach(target IN LISTS ARGN)
    set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION_MINSIZEREL ON)
    target_compile_options(${target} PRIVATE $<$<CONFIG:MinSizeRel>:-ffat-lto-objects>)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      # Link-time optimisation compiles the program once more, seeded by its name.
      target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>
                          $<$<CONFIG:MinSizeRel>:-frandom-seed=${target}>)
    endif()
  endforeach()
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

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
      target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
    endif()
  endforeach()
endfunction()
